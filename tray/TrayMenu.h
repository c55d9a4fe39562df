// Builds the tray icon's pop-up menu from the menu table.
#pragma once
#include <windows.h>

#include <cstdint>

#include "win/unique.h"

namespace vexbane::tray {

// The menu bar that holds "PopupTray"; `popup` receives the pop-up itself (owned by the bar).
// The Messenger separator and items are not added when intWinNT is not 1.
win::UniqueMenu BuildTrayMenu(int16_t intWinNT, HMENU& popup) noexcept;

}  // namespace vexbane::tray
