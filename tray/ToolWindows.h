// The two tool windows that the tray menu opens, at most one at a time.
#pragma once
#include <windows.h>

namespace vexbane::tray {

// "Cookie Manager": closes the allow-list editor if open, then opens the cookie manager
// unless it is already open.
void mnuCookie_Click(HWND owner) noexcept;
// "Allow List": the same with the roles swapped.
void mnuWhiteList_Click(HWND owner) noexcept;
// Closes whichever tool window is open (the tray program is ending).
void UnloadToolWindows() noexcept;

}  // namespace vexbane::tray
