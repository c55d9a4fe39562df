// Starting the tray program from the helper's folder.
#pragma once
#include <string>

namespace vexbane::ext {

// Runs "<appPath>\VexbaneTray.exe" minimized with focus (show state 2). The file is named
// as the program to run, not parsed out of a command line, so a folder with spaces works.
// Returns false when it cannot be started, and starts nothing when `appPath` is empty or no
// absolute folder.
bool StartTrayProgram(const std::string& appPath) noexcept;

}  // namespace vexbane::ext
