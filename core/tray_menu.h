// The tray icon's pop-up menu: every item, its caption, its order and its command id.
#pragma once
#include <cstdint>
#include <vector>

namespace vexbane::tray {

// Items top to bottom, as the menu shows them on the NT family.
enum class TrayItem : uint8_t {
  mnuHelp,
  mnuCookie,
  mnuWhiteList,
  mnuRecentBlocked,
  mnuBlockedHosts,
  mnuNothing2,
  mnuWaveSound,
  mnuInternalSound,
  mnuNoSound,
  mnuNothingMessenger,
  mnuBlockMessenger,
  mnuAllowMessenger,
  mnuNothing1,
  mnuBlockAllPopup,
  mnuBlockAdPopupHigh,
  mnuBlockAdPopupDefault,
  mnuBlockAdPopupLow,
  mnuAllowPopup,
};

inline constexpr int kTrayItemCount = 18;

struct TrayMenuItem {
  TrayItem item;
  const char* name;     // the item's own name, for diagnostics
  const char* caption;  // "-" for a separator
  uint16_t id;          // WM_COMMAND id; separators carry one too, never sent
  bool separator;
  bool messengerOnly;   // left out where the Messenger service does not exist
};

// The caption of the top-level item that holds the pop-up (never shown as a menu bar).
inline constexpr char kPopupTrayCaption[] = "PopupTray";

// The whole table, in menu order.
const TrayMenuItem (&AllTrayMenuItems())[kTrayItemCount];

// The items that the menu shows: the Messenger separator and items only when intWinNT = 1.
std::vector<TrayMenuItem> TrayMenuItems(int16_t intWinNT);

const TrayMenuItem& TrayMenuItemOf(TrayItem item);
// The item with this command id, or null.
const TrayMenuItem* FindTrayMenuItem(uint16_t id);

// Level items: 0 "Allow Popup" ... 4 "Block All Popup".
TrayItem LevelItem(int level);

}  // namespace vexbane::tray
