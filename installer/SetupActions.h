// What setup and the uninstaller both do: end the tray program, (un)register a COM server, and
// the names of the files the programs write into their folder.
#pragma once
#include <windows.h>

#include <string>

namespace vexbane::setup {

// Asks a running tray program to end through its own exit check (a click on its hidden "Form
// Close" button, which unloads the form once no browser frame is left; a form without the
// button is closed as a window) and waits up to 3 s for the form to go. The program is found by
// its form's caption, not by the stored "hForm" handle, which may be stale and name an
// unrelated window by now.
void EndTrayProgram() noexcept;

// Runs "<system>\regsvr32.exe /s [/u] "<file>"". Returns a Win32 error code: the start's, or
// ERROR_DLL_INIT_FAILED when regsvr32 reports a failure.
DWORD RunRegsvr32(const std::string& file, bool unregister) noexcept;

// "<folder>\<name>"
inline std::string InFolder(const std::string& folder, const char* name) { return folder + "\\" + name; }

}  // namespace vexbane::setup
