// Whole-file reads and atomic rewrites of the program's data files.
#pragma once
#include <windows.h>

#include <string>

namespace vexbane::win {

// Reads the whole file into `data`. Returns a Win32 error code; `data` is unchanged on failure.
DWORD ReadWholeFile(const std::string& path, std::string& data);

// Creates an empty file when none exists; an existing file is left as it is.
DWORD CreateFileIfMissing(const std::string& path);

// Rewrites the file whole: the data goes to a temporary file in the same folder, which then
// replaces the old file in one step. A reader sees the old content or the new, never an empty
// or half-written file. On failure the old file is untouched and the temporary file removed.
DWORD ReplaceFileContents(const std::string& path, const std::string& data);

// Folder of a path without the trailing backslash ("C:\a\b.dll" -> "C:\a").
std::string FolderOf(const std::string& path);

// Folder that holds the given module's file, without the trailing backslash.
std::string ModuleFolder(HMODULE module);

}  // namespace vexbane::win
