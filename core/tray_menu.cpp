// The tray menu's table.
#include "tray_menu.h"

namespace vexbane::tray {
namespace {

// Ids start at 100 so that they never meet the buttons' control ids or the system's.
constexpr uint16_t kFirstId = 100;

constexpr TrayMenuItem kItems[kTrayItemCount] = {
    {TrayItem::mnuHelp, "mnuHelp", "Help", kFirstId + 0, false, false},
    {TrayItem::mnuCookie, "mnuCookie", "Cookie Manager", kFirstId + 1, false, false},
    {TrayItem::mnuWhiteList, "mnuWhiteList", "Allow List", kFirstId + 2, false, false},
    // Added after the others: the older items keep the command ids they always had.
    {TrayItem::mnuRecentBlocked, "mnuRecentBlocked", "Recently Blocked", kFirstId + 16, false, false},
    {TrayItem::mnuBlockedHosts, "mnuBlockedHosts", "Blocked Hosts", kFirstId + 17, false, false},
    {TrayItem::mnuNothing2, "mnuNothing2", "-", kFirstId + 3, true, false},
    {TrayItem::mnuWaveSound, "mnuWaveSound", "Wave Sound", kFirstId + 4, false, false},
    {TrayItem::mnuInternalSound, "mnuInternalSound", "Internal Sound", kFirstId + 5, false, false},
    {TrayItem::mnuNoSound, "mnuNoSound", "No Sound", kFirstId + 6, false, false},
    {TrayItem::mnuNothingMessenger, "mnuNothingMessenger", "-", kFirstId + 7, true, true},
    {TrayItem::mnuBlockMessenger, "mnuBlockMessenger", "Block Messenger Popup", kFirstId + 8, false, true},
    {TrayItem::mnuAllowMessenger, "mnuAllowMessenger", "Allow Messenger Popup", kFirstId + 9, false, true},
    {TrayItem::mnuNothing1, "mnuNothing1", "-", kFirstId + 10, true, false},
    {TrayItem::mnuBlockAllPopup, "mnuBlockAllPopup", "Block All Popup", kFirstId + 11, false, false},
    {TrayItem::mnuBlockAdPopupHigh, "mnuBlockAdPopupHigh", "Block Ad Popup-High", kFirstId + 12, false, false},
    {TrayItem::mnuBlockAdPopupDefault, "mnuBlockAdPopupDefault", "Block Ad Popup-Default", kFirstId + 13, false,
     false},
    {TrayItem::mnuBlockAdPopupLow, "mnuBlockAdPopupLow", "Block Ad Popup-Low", kFirstId + 14, false, false},
    {TrayItem::mnuAllowPopup, "mnuAllowPopup", "Allow Popup", kFirstId + 15, false, false},
};

}  // namespace

const TrayMenuItem (&AllTrayMenuItems())[kTrayItemCount] { return kItems; }

std::vector<TrayMenuItem> TrayMenuItems(int16_t intWinNT) {
  std::vector<TrayMenuItem> shown;
  for (const auto& item : kItems) {
    if (item.messengerOnly && intWinNT != 1) continue;
    shown.push_back(item);
  }
  return shown;
}

const TrayMenuItem& TrayMenuItemOf(TrayItem item) { return kItems[static_cast<int>(item)]; }

const TrayMenuItem* FindTrayMenuItem(uint16_t id) {
  for (const auto& item : kItems)
    if (item.id == id) return &item;
  return nullptr;
}

TrayItem LevelItem(int level) {
  switch (level) {
    case 1: return TrayItem::mnuBlockAdPopupLow;
    case 2: return TrayItem::mnuBlockAdPopupDefault;
    case 3: return TrayItem::mnuBlockAdPopupHigh;
    case 4: return TrayItem::mnuBlockAllPopup;
    default: return TrayItem::mnuAllowPopup;
  }
}

}  // namespace vexbane::tray
