// Files that can only be moved or deleted at the next restart, the way each family allows: the NT
// family through MoveFileEx's delayed operations, the 95 family through WININIT.INI's [rename]
// section, which this writes itself (short names, "NUL=" lines repeated as often as needed).
#pragma once
#include <windows.h>

#include <string>

namespace vexbane::win {

// The full path of WININIT.INI in the Windows folder.
std::string WininitPath();

// Adds `line` ("target=source", short names) to WININIT.INI's [rename] section, keeping every
// other line. Returns a Win32 error code.
DWORD AddWininitLine(const std::string& line);
// Takes `line` out again (the undo of AddWininitLine); a missing file or line is no error.
DWORD RemoveWininitLine(const std::string& line);

// The short (8.3) form of an existing path; the path itself when the system gives none.
std::string ShortPath(const std::string& path);

// Deletes the file, or an empty folder, at the next restart. The 95 family deletes only files
// there: a folder is left. Returns a Win32 error code.
DWORD DeleteAtRestart(const std::string& path);

}  // namespace vexbane::win
