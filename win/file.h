// Whole-file reads and atomic rewrites of the program's data files.
#pragma once
#include <windows.h>

#include <string>

#include "win/unique.h"

namespace vexbane::win {

// Opens a data file for reading as ReadWholeFile does: sharing it with writers (and, on the NT
// family, with a save's rename), the set-aside copy on the 95 family while a save swaps it,
// looking again for a moment while a save holds it. `file` is empty on failure.
DWORD OpenDataFile(const std::string& path, UniqueFile& file);

// Reads an open file from its current position to its end into `data`; unchanged on failure.
DWORD ReadToEnd(HANDLE file, std::string& data);

// Reads the whole file into `data`. Returns a Win32 error code; `data` is unchanged on failure.
// On the 95 family a file that a save has just set aside is read from its set-aside copy.
DWORD ReadWholeFile(const std::string& path, std::string& data);

// Creates an empty file when none exists; an existing file is left as it is, and so is a file
// that a save of the 95 family has set aside for a moment.
DWORD CreateFileIfMissing(const std::string& path);

// Rewrites the file whole: the data goes completely into a temporary file of this writer's own
// in the same folder, which then takes the old file's place (NT family: MoveFileEx in one step;
// 95 family: the old file set aside, the new one renamed in, the old one removed, saves taking
// turns). A reader sees the old content or the new, never an empty or half-written file, and a
// save cut off at any point leaves one of them. A short write is a failure. A folder or a
// read-only file at the path is not replaced (ERROR_ACCESS_DENIED), nor is the file on the 95
// family while a folder stands under its set-aside name (ERROR_ALREADY_EXISTS). On failure the
// old file is untouched and the temporary file removed.
//
// On the NT family a folder may refuse this account a new file while the file itself is granted
// to it (the program folder of an installation made for every account grants each data file,
// never the folder). Then the list is written into the existing file (RewriteFileInPlace): the
// old content or the new stands in it afterwards, never a shorter or mixed one. The 95 family
// has no access rights and always goes through the temporary file.
DWORD ReplaceFileContents(const std::string& path, const std::string& data);

// The system calls a save may be refused at, replaceable by the suites: Wine runs every program
// as an administrator, so no folder ever refuses it a new file and no disk fills up mid-write.
struct SaveCalls {
  UINT(WINAPI* getTempFileName)(LPCSTR, LPCSTR, UINT, LPSTR) = ::GetTempFileNameA;
  BOOL(WINAPI* writeFile)(HANDLE, LPCVOID, DWORD, LPDWORD, LPOVERLAPPED) = ::WriteFile;
};
DWORD ReplaceFileContents(const std::string& path, const std::string& data, const SaveCalls& calls);

// Writes the data into the existing file itself, for a folder that refuses new files. The file
// is held without sharing for the write, so a reader meets a brief conflict (and looks again)
// rather than a half-written list. Room for longer data is reserved first, the data written from
// the start, flushed, and only then the file cut to its new length; a write that fails puts the
// old bytes back into the reserved room and the old length, so the file keeps the old content.
// The write time changes as with any rewrite and the creation time stays, which is what the
// copies' freshness rules expect of a writer in place (see core/file_freshness.h). A missing or
// read-only file is not written (the open's error).
DWORD RewriteFileInPlace(const std::string& path, const std::string& data, const SaveCalls& calls = SaveCalls());

// Name under which a save of the 95 family keeps the old file while it swaps in the new one.
// Only a plain file of that name counts as the set-aside copy.
std::string SetAsideName(const std::string& path);

// Folder of a path without the trailing backslash ("C:\a\b.dll" -> "C:\a").
std::string FolderOf(const std::string& path);

// Folder that holds the given module's file, without the trailing backslash.
std::string ModuleFolder(HMODULE module);

}  // namespace vexbane::win
