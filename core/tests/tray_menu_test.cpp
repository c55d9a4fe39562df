// The tray menu's table and the diagnostic state word.
#include "core/tray_menu.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "core/tray_state.h"

namespace vexbane::tray {
namespace {

std::string Captions(const std::vector<TrayMenuItem>& items) {
  std::string all;
  for (const auto& item : items) all += std::string(item.caption) + "|";
  return all;
}

TEST(TrayMenu, ItemsInOrderWithMessengerOnTheNtFamily) {
  EXPECT_EQ(Captions(TrayMenuItems(1)),
            "Help|Cookie Manager|Allow List|Recently Blocked|Blocked Hosts|-|Wave Sound|Internal Sound|No Sound|-|Block Messenger Popup|"
            "Allow Messenger Popup|-|Block All Popup|Block Ad Popup-High|Block Ad Popup-Default|"
            "Block Ad Popup-Low|Allow Popup|");
}

TEST(TrayMenu, NoMessengerItemsAndTwoSeparatorsOnWindows9x) {
  auto items = TrayMenuItems(0);
  EXPECT_EQ(Captions(items),
            "Help|Cookie Manager|Allow List|Recently Blocked|Blocked Hosts|-|Wave Sound|Internal Sound|No Sound|-|Block All Popup|"
            "Block Ad Popup-High|Block Ad Popup-Default|Block Ad Popup-Low|Allow Popup|");
  int separators = 0;
  for (const auto& item : items) separators += item.separator;
  EXPECT_EQ(separators, 2);
  EXPECT_EQ(items[9].item, TrayItem::mnuNothing1);
}

TEST(TrayMenu, ItemsAddedLaterKeepEveryOlderCommandId) {
  // Scripts and the tray's own tests post these numbers: an added item takes a new one.
  EXPECT_EQ(TrayMenuItemOf(TrayItem::mnuHelp).id, 100);
  EXPECT_EQ(TrayMenuItemOf(TrayItem::mnuNothing2).id, 103);
  EXPECT_EQ(TrayMenuItemOf(TrayItem::mnuAllowPopup).id, 115);
  EXPECT_EQ(TrayMenuItemOf(TrayItem::mnuRecentBlocked).id, 116);
  EXPECT_EQ(TrayMenuItemOf(TrayItem::mnuBlockedHosts).id, 117);
  EXPECT_STREQ(TrayMenuItemOf(TrayItem::mnuBlockedHosts).caption, "Blocked Hosts");
}

TEST(TrayMenu, IdsAreUniqueAndFindTheirItem) {
  std::set<uint16_t> ids;
  for (const auto& item : AllTrayMenuItems()) {
    EXPECT_TRUE(ids.insert(item.id).second) << item.name;
    ASSERT_NE(FindTrayMenuItem(item.id), nullptr);
    EXPECT_EQ(FindTrayMenuItem(item.id)->item, item.item);
    EXPECT_EQ(&TrayMenuItemOf(item.item), &item);
    EXPECT_EQ(item.separator, std::string(item.caption) == "-") << item.name;
  }
  EXPECT_EQ(FindTrayMenuItem(0), nullptr);
  EXPECT_EQ(FindTrayMenuItem(99), nullptr);
}

TEST(TrayMenu, LevelItems) {
  EXPECT_STREQ(TrayMenuItemOf(LevelItem(0)).caption, "Allow Popup");
  EXPECT_STREQ(TrayMenuItemOf(LevelItem(1)).caption, "Block Ad Popup-Low");
  EXPECT_STREQ(TrayMenuItemOf(LevelItem(2)).caption, "Block Ad Popup-Default");
  EXPECT_STREQ(TrayMenuItemOf(LevelItem(3)).caption, "Block Ad Popup-High");
  EXPECT_STREQ(TrayMenuItemOf(LevelItem(4)).caption, "Block All Popup");
}

TEST(TrayState, EveryFieldSurvivesPackingOnItsOwnBit) {
  TrayState empty;
  EXPECT_EQ(PackTrayState(empty), 0u);
  EXPECT_EQ(UnpackTrayState(0), empty);

  std::set<uint32_t> words;
  auto check = [&](const TrayState& s) {
    uint32_t packed = PackTrayState(s);
    EXPECT_EQ(UnpackTrayState(packed), s);
    EXPECT_TRUE(words.insert(packed).second) << std::hex << packed;
  };
  for (int i = 0; i < 5; ++i) {
    TrayState s;
    s.levelChecked[i] = true;
    check(s);
  }
  for (int i = 0; i < 3; ++i) {
    TrayState s;
    s.soundChecked[i] = true;
    check(s);
  }
  TrayState s;
  s.blockMessengerChecked = true; check(s); s = {};
  s.allowMessengerChecked = true; check(s); s = {};
  s.messengerItemsShown = true; check(s); s = {};
  s.blnBlocking = true; check(s); s = {};
  s.icon = IconRole::Allowing; check(s); s = {};
  s.iconInTray = true; check(s); s = {};
  s.blinks = 255; check(s);
  EXPECT_EQ(PackTrayState(s), 0x00FF0000u);
}

}  // namespace
}  // namespace vexbane::tray
