// The tool windows that the tray menu opens, at most one at a time.
#pragma once
#include <windows.h>

namespace vexbane::tray {

// "Cookie Manager": closes the allow-list editor if open, then opens the cookie manager
// or, when it is already open, brings it to the front.
void mnuCookie_Click(HWND owner) noexcept;
// "Allow List": the same with the roles swapped.
void mnuWhiteList_Click(HWND owner) noexcept;
// "Recently Blocked": closes the other tool window if one is open, then opens the list of
// recent blocks, or brings it to the front when it is already open.
void mnuRecentBlocked_Click(HWND owner) noexcept;
// "Blocked Hosts": the list editor over the Blocked Hosts list, likewise.
void mnuBlockedHosts_Click(HWND owner) noexcept;
// Closes whichever tool window is open (the tray program is ending).
void UnloadToolWindows() noexcept;

}  // namespace vexbane::tray
