// An open file's size and times, for copies that must notice every rewrite.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "core/file_freshness.h"

namespace vexbane::win {

// The open file's size, last write and creation times (GetFileTime and GetFileSize). Not
// GetFileInformationByHandle: its file index is documented as stable only while the file is
// open, and its volume query costs more than the rest of a decision under Wine. `stamp` is
// unchanged on failure.
DWORD StampOf(HANDLE file, FileStamp& stamp);

// The system clock (UTC) as a FILETIME count, the scale of the stamps' times.
uint64_t SystemTimeTicks();

}  // namespace vexbane::win
