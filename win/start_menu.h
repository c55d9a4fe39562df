// The Start menu's "Programs" folder a setup puts its shortcuts in: all users' on the NT family,
// the user's own on the 95 family (where a machine has one Start menu unless profiles are on).
#pragma once
#include <string>

namespace vexbane::win {

// The folder's full path, without a trailing backslash; empty when the system names none.
// Asks SHGetSpecialFolderPathA where SHELL32 has it (shell 4.71, with IE 4's desktop and later),
// else the "Common Programs" / "Programs" value under the Shell Folders keys.
std::string StartMenuProgramsFolder();

}  // namespace vexbane::win
