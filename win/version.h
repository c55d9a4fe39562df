// Which family of Windows the program runs on: the one place that asks.
#pragma once
#include <windows.h>

namespace vexbane::win {

// True on Windows 95, 98 and Me, as the system reports itself (GetVersion's platform bit). Calls
// the 95 family exports but does not implement (MoveFileEx, FILE_SHARE_DELETE) are chosen by this,
// never by probing for the function, which exists everywhere.
bool IsWindows9x() noexcept;

// True on Vista and later (NT family, major version 6 or more): integrity levels, Internet
// Explorer's Protected Mode, User Interface Privilege Isolation.
bool IsVistaOrLater() noexcept;

}  // namespace vexbane::win
