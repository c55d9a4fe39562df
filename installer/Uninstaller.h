// The uninstaller: setup's own program without its payload, run as uninst.exe from the program folder.
#pragma once
#include <string>

namespace vexbane::setup {

// Removes Vexbane from `folder` (the folder of uninst.exe): runs Unhitch and waits for it, ends
// the tray program, unregisters both COM servers, removes the browser helper's key, every file
// the programs and setup wrote in the folder, the Start-menu folder, the settings and uninstall
// keys, itself and the folder. Files still in use go at the next restart. `silent`: no question
// and no message. Returns the exit code (SetupExitCodes.h).
int RunUninstall(const std::string& folder, const std::string& self, bool silent) noexcept;

}  // namespace vexbane::setup
