// The stand-in browser's look at the tray program from outside: its state through the
// diagnostic message, and the clicks and menu commands a user would give it.
#pragma once
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

namespace vexbane::host {

// The tray program's hidden main form, or null when the program is not running.
HWND FindTrayForm() noexcept;

// The form's packed state, posted back after every message posted to the form before the
// question; nothing when the form does not answer within `timeoutMs`. Pumps this thread's
// messages while it waits, so the browser windows stay responsive.
std::optional<uint32_t> QueryTrayState(HWND form, DWORD timeoutMs) noexcept;

// One line such as "level 2 sound wave blocking yes icon blocking in-tray yes blinks 1".
std::string DescribeTrayState(uint32_t packed);

// A left click on the tray icon, as the shell reports it to the form.
bool PostTrayIconClick(HWND form) noexcept;
// A menu item chosen by its command id.
bool PostTrayCommand(HWND form, uint16_t id) noexcept;

}  // namespace vexbane::host
