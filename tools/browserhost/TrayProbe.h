// The stand-in browser's look at the tray program from outside: its state through the
// diagnostic message, and the clicks and menu commands a user would give it.
#pragma once
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vexbane::host {

// The tray program's hidden main form, or null when the program is not running.
HWND FindTrayForm() noexcept;

// How many VexbaneTray.exe processes run now.
int CountTrayProcesses() noexcept;

// Every helper that attaches starts a copy of the tray program, which ends as soon as it finds
// one running. Waits until at most one copy is left (pumping this thread's messages, so the
// browser windows answer the copies that look at them) or `timeoutMs` has passed; the count left.
int WaitForOneTrayProcess(DWORD timeoutMs) noexcept;

// The form's packed state, posted back after every message posted to the form before the
// question; nothing when the form does not answer within `timeoutMs`. Pumps this thread's
// messages while it waits, so the browser windows stay responsive.
std::optional<uint32_t> QueryTrayState(HWND form, DWORD timeoutMs) noexcept;

// One line such as "level 2 sound wave blocking yes icon blocking in-tray yes blinks 1".
std::string DescribeTrayState(uint32_t packed);

// What the open "Recently Blocked" window of the tray shows: its counters line, its rows
// (columns joined by tabs, newest first) and its status line.
struct RecentBlockedView {
  std::string counts;
  std::vector<std::string> rows;
  std::string status;
};

// The tray's "Recently Blocked" window, opened with its menu command when it is not open yet
// (pumping this thread's messages while it waits); null when none came up within `timeoutMs`.
HWND OpenRecentBlocked(HWND form, DWORD timeoutMs) noexcept;
RecentBlockedView ReadRecentBlocked(HWND window);
// Selects row `row` (from 1) and presses "Allow Site"; false when there is no such row.
bool AllowSiteOfRow(HWND window, int row) noexcept;
// Selects row `row` (from 1), as a click on it does, and presses "Open" or "Block Host".
bool OpenRow(HWND window, int row) noexcept;
bool BlockHostOfRow(HWND window, int row) noexcept;

// A left click on the tray icon, as the shell reports it to the form.
bool PostTrayIconClick(HWND form) noexcept;
// A right click on the tray icon: the form opens its pop-up menu where the mouse pointer is.
bool PostTrayIconMenu(HWND form) noexcept;
// A menu item chosen by its command id.
bool PostTrayCommand(HWND form, uint16_t id) noexcept;

}  // namespace vexbane::host
