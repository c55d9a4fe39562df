// The setup program's and the uninstaller's exit codes, as administrators' scripts read them.
#pragma once

namespace vexbane::setup {

inline constexpr int kExitDone = 0;
inline constexpr int kExitFailed = 1;         // a step failed; everything was put back
inline constexpr int kExitCancelled = 2;      // the user left before anything was changed
inline constexpr int kExitDamaged = 3;        // the setup file is damaged or incomplete: nothing changed
inline constexpr int kExitBadCommandLine = 4; // "/AUTOCLEAN=" other than 0 or 1, "/D=" not a full path
inline constexpr int kExitRestartNeeded = 3010;  // done; the next restart finishes the work

}  // namespace vexbane::setup
