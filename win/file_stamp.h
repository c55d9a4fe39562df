// An open file's size and times, for copies that must notice every rewrite.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "core/file_freshness.h"
#include "win/unique.h"

namespace vexbane::win {

// Opens the file for reading, sharing reading and writing with others (calls of the floor:
// no FILE_SHARE_DELETE, which the 95 family refuses); a missing file is created empty.
// Returns a Win32 error code; `file` is empty on failure.
DWORD OpenOrCreateForReading(const std::string& path, UniqueFile& file);

// The open file's size, last write and creation times (GetFileTime and GetFileSize). Not
// GetFileInformationByHandle: its file index is documented as stable only while the file is
// open, and its volume query costs more than the rest of a decision under Wine. `stamp` is
// unchanged on failure.
DWORD StampOf(HANDLE file, FileStamp& stamp);

// Reads the open file from its current position to its end into `data`; unchanged on failure.
DWORD ReadToEnd(HANDLE file, std::string& data);

// The system clock (UTC) as a FILETIME count, the scale of the stamps' times.
uint64_t SystemTimeTicks();

}  // namespace vexbane::win
