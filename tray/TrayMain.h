// Main and CheckWinNT: the tray program's start-up, and its steps for the tests to call one by one.
#pragma once
#include <string>

#include "CRegistry.h"
#include "ModTray.h"

namespace vexbane::tray {

// Name of the mutex that the running tray program holds for its whole life.
inline constexpr char kSingleInstanceMutex[] = "Vexbane.VexbaneTray.SingleInstance";

// The process entry: steps 1 to 13, then the message loop until the tray form unloads.
// Returns the process exit code.
int Main() noexcept;

// Sets intWinNT: 0 on Windows 95, 98 and Me, 1 on every other platform and when the call fails.
void CheckWinNT() noexcept;

// Start-up steps, each on its own so that a failure stays local.
std::string ProgramFolder() noexcept;
std::string SystemFolder() noexcept;
// First run ("Popup" missing) writes "2"; then the level is read and a level above 4 repaired.
void ReadPopupLevel(ModTray& module, const CRegistry& registry) noexcept;
// lngFormLeft and lngFormTop from the real screen size and density.
void SetToolWindowPosition(ModTray& module) noexcept;

}  // namespace vexbane::tray
