// The uninstaller: setup's own program without its payload, run as uninst.exe from the program folder.
#pragma once
#include <windows.h>

#include <string>

namespace vexbane::setup {

// Removes Vexbane from `folder` (the folder of uninst.exe): runs Unhitch and waits for it, ends
// the tray program, unregisters both COM servers, removes the browser helper's key, every file
// the programs and setup wrote in the folder, the Start-menu folder, the settings and uninstall
// keys, itself and the folder. Files still in use go at the next restart. `silent`: no question
// and no message. Returns the exit code (SetupExitCodes.h).
int RunUninstall(const std::string& folder, const std::string& self, bool silent) noexcept;

// The last step, run by the uninstaller's copy in the temporary folder (a running program cannot
// delete its own file): once the process behind `uninstaller` (an inherited handle) has ended,
// deletes uninst.exe in `folder` and the folder when it is empty; the copy itself goes at the
// next restart.
int RemoveUninstaller(const std::string& folder, const std::string& self, HANDLE uninstaller) noexcept;

}  // namespace vexbane::setup
