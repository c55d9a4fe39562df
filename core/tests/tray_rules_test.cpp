// The tray program's rules: start-up level, the on/off protocol, displays, Messenger, blink, exit.
#include "core/tray_rules.h"

#include <gtest/gtest.h>

#include <vector>

namespace vexbane::tray {
namespace {

TEST(DecideStartupLevel, RepairsOnlyLevelsAboveFour) {
  struct Case {
    const char* text;
    int16_t level;
    bool write;
  } cases[] = {
      {"0", 0, false},   {"1", 1, false},  {"4", 4, false},       {"5", 2, true},
      {"7", 2, true},    {"32767", 2, true}, {"-1", -1, false},   {"-32768", -32768, false},
      {"ABC", 0, false}, {"", 0, false},   {"32768", 0, false},   {" 3 ", 3, false},
      {"2.5", 0, false},
  };
  for (const auto& c : cases) {
    StartupLevel got = DecideStartupLevel(c.text);
    EXPECT_EQ(got.intPopupLevel, c.level) << c.text;
    EXPECT_EQ(got.writeDefault, c.write) << c.text;
  }
}

TEST(ToolWindowPosition, ScreenInTwipsTimesPercentRoundedHalfToEven) {
  EXPECT_DOUBLE_EQ(TwipsPerPixel(96), 15.0);
  EXPECT_DOUBLE_EQ(TwipsPerPixel(120), 12.0);
  EXPECT_DOUBLE_EQ(TwipsPerPixel(0), 15.0);
  // 1024 x 768 at 96 DPI: 15360 x 11520 twips.
  ToolWindowPosition p = DefaultToolWindowPosition(1024, 768, 15, 15);
  EXPECT_EQ(p.lngFormLeft, 3072);
  EXPECT_EQ(p.lngFormTop, 3456);
  // 800 x 600 at 120 DPI: 9600 x 7200 twips.
  p = DefaultToolWindowPosition(800, 600, 12, 12);
  EXPECT_EQ(p.lngFormLeft, 1920);
  EXPECT_EQ(p.lngFormTop, 2160);
  // Exact halves go to the even neighbour: 1 px at 12.5 tpp = 12.5 twips; ×20/100 = 2.5 → 2,
  // ×30/100 = 3.75 → 4; 3 px: 37.5 ×20/100 = 7.5 → 8.
  p = DefaultToolWindowPosition(1, 1, 12.5, 12.5);
  EXPECT_EQ(p.lngFormLeft, 2);
  EXPECT_EQ(p.lngFormTop, 4);
  EXPECT_EQ(DefaultToolWindowPosition(3, 0, 12.5, 12.5).lngFormLeft, 8);
}

TEST(TwipsToPixels, ButtonSizesAtCommonDensities) {
  EXPECT_EQ(TwipsToPixels(972, 15), 65);  // 64.8
  EXPECT_EQ(TwipsToPixels(252, 15), 17);  // 16.8
  EXPECT_EQ(TwipsToPixels(300, 15), 20);
  EXPECT_EQ(TwipsToPixels(972, 12), 81);
  EXPECT_EQ(TwipsToPixels(30, 12), 2);    // 2.5 → 2
  EXPECT_EQ(TwipsToPixels(100, 0), 0);
}

TEST(DisplayForLevel, BlockingAllowingOrNothingChecked) {
  for (int16_t level = 1; level <= 4; ++level) {
    LevelDisplay d = DisplayForLevel(level);
    EXPECT_TRUE(d.blnBlocking);
    EXPECT_EQ(d.icon, IconRole::Blocking);
    EXPECT_EQ(d.checkedLevel, level);
  }
  LevelDisplay off = DisplayForLevel(0);
  EXPECT_FALSE(off.blnBlocking);
  EXPECT_EQ(off.icon, IconRole::Allowing);
  EXPECT_EQ(off.checkedLevel, int16_t{0});
  for (int16_t odd : {int16_t{-1}, int16_t{5}, int16_t{-32768}}) {
    LevelDisplay d = DisplayForLevel(odd);
    EXPECT_FALSE(d.blnBlocking) << odd;
    EXPECT_EQ(d.icon, IconRole::Blocking) << odd;
    EXPECT_FALSE(d.checkedLevel.has_value()) << odd;
  }
}

TEST(DisplayForStoredPopup, FollowsTheTextTheSettingHolds) {
  EXPECT_EQ(DisplayForStoredPopup("3").checkedLevel, int16_t{3});
  EXPECT_EQ(DisplayForStoredPopup("0").icon, IconRole::Allowing);
  // The fallback of an unreadable value is "1": that is what the helper then applies too.
  EXPECT_TRUE(DisplayForStoredPopup("1").blnBlocking);
  EXPECT_EQ(DisplayForStoredPopup("ABC").checkedLevel, int16_t{0});
  EXPECT_FALSE(DisplayForStoredPopup("-1").checkedLevel.has_value());
}

TEST(PopupProtocol, SwitchOffSavesTheLevelUnlessAlreadyOff) {
  std::vector<SettingWrite> fromDefault{{"PopupSave", "2"}, {"Popup", "0"}};
  EXPECT_EQ(PlanSwitchOff("2"), fromDefault);
  std::vector<SettingWrite> fromOff{{"Popup", "0"}};
  EXPECT_EQ(PlanSwitchOff("0"), fromOff);
  // Whatever is in force is kept, even a text the menu cannot show.
  std::vector<SettingWrite> fromOdd{{"PopupSave", "ABC"}, {"Popup", "0"}};
  EXPECT_EQ(PlanSwitchOff("ABC"), fromOdd);
}

TEST(PopupProtocol, SwitchOnRestoresTheSavedLevelOrDefault) {
  for (const char* level : {"1", "2", "3", "4"}) {
    std::vector<SettingWrite> expected{{"Popup", level}};
    EXPECT_EQ(PlanSwitchOn(level), expected) << level;
  }
  for (const char* odd : {"9", "0", "ABC", "", "01", " 3"}) {
    std::vector<SettingWrite> expected{{"Popup", odd}, {"Popup", "2"}};
    EXPECT_EQ(PlanSwitchOn(odd), expected) << odd;
  }
}

TEST(PopupProtocol, LevelCommandWritesPopupOnly) {
  std::vector<SettingWrite> expected{{"Popup", "3"}};
  EXPECT_EQ(PlanSetLevel(3), expected);
}

TEST(Sound, ItemsAndTexts) {
  EXPECT_EQ(SoundItemFromText("0"), SoundItem::WaveSound);
  EXPECT_EQ(SoundItemFromText("1"), SoundItem::InternalSound);
  EXPECT_EQ(SoundItemFromText("2"), SoundItem::NoSound);
  EXPECT_EQ(SoundItemFromText("3"), SoundItem::WaveSound);
  EXPECT_EQ(SoundItemFromText("ABC"), SoundItem::WaveSound);
  EXPECT_EQ(SoundText(SoundItem::WaveSound), "0");
  EXPECT_EQ(SoundText(SoundItem::InternalSound), "1");
  EXPECT_EQ(SoundText(SoundItem::NoSound), "2");
}

TEST(Messenger, StepAtLoad) {
  struct Case {
    const char* text;
    int16_t field;
    bool block;
    bool write;
  } cases[] = {
      {"0", 0, false, false}, {"1", 1, true, false}, {"2", 9, true, true},
      {"-1", 9, true, true},  {"ABC", 0, false, false}, {"", 0, false, false},
  };
  for (const auto& c : cases) {
    MessengerLoad m = MessengerAtLoad(c.text);
    EXPECT_EQ(m.intBlockMessenger, c.field) << c.text;
    EXPECT_EQ(m.checkBlock, c.block) << c.text;
    EXPECT_EQ(m.writeOne, c.write) << c.text;
  }
}

TEST(Messenger, StepAfterLoadNeverWeakensADisabledService) {
  struct Case {
    int16_t field;
    int32_t start;
    bool runs;
  } cases[] = {
      {1, 2, true},  {1, 3, false}, {1, 4, false}, {1, 0, true},
      {9, 2, true},  {9, 3, true},  {9, 4, false},
      {0, 2, false}, {0, 3, false}, {0, 4, false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(MessengerBlockRunsAfterLoad(c.field, c.start), c.runs) << c.field << " " << c.start;
}

TEST(Messenger, CheckMarksFollowTheStoredSetting) {
  EXPECT_TRUE(MessengerBlockChecked("1"));
  EXPECT_FALSE(MessengerBlockChecked("0"));
  EXPECT_TRUE(MessengerBlockChecked("2"));
}

TEST(ShouldBlink, FirstSignalAlwaysThenOncePerSecondAcrossMidnight) {
  EXPECT_TRUE(ShouldBlink(5000, 0));
  EXPECT_FALSE(ShouldBlink(10999, 10000));
  EXPECT_TRUE(ShouldBlink(11000, 10000));
  EXPECT_TRUE(ShouldBlink(12000, 10000));
  // Blink ended at 23:59:59.700; 00:00:00.100 is only 400 ms later.
  const int32_t lateEvening = 86399700;
  EXPECT_FALSE(ShouldBlink(100, lateEvening));
  EXPECT_TRUE(ShouldBlink(700, lateEvening));
}

TEST(RunExitCheck, ElevenLooksHundredMillisecondsApart) {
  int looks = 0;
  std::vector<int> pauses;
  auto pause = [&](int ms) { pauses.push_back(ms); };

  bool ends = RunExitCheck([&] { ++looks; return true; }, pause);
  EXPECT_FALSE(ends);
  EXPECT_EQ(looks, 11);
  EXPECT_EQ(pauses, std::vector<int>(11, 100));

  looks = 0;
  pauses.clear();
  EXPECT_TRUE(RunExitCheck([&] { return ++looks < 4; }, pause));
  EXPECT_EQ(looks, 4);
  EXPECT_EQ(pauses.size(), 3u);

  looks = 0;
  pauses.clear();
  EXPECT_TRUE(RunExitCheck([&] { ++looks; return false; }, pause));
  EXPECT_EQ(looks, 1);
  EXPECT_TRUE(pauses.empty());
}

TEST(DecodeTrayCallback, OnlyButtonReleasesAct) {
  struct Case {
    uint64_t lParam;
    TrayCallbackAction action;
  } cases[] = {
      {0x0202, TrayCallbackAction::Toggle},   {0x0205, TrayCallbackAction::ShowMenu},
      {0x0200, TrayCallbackAction::None},     {0x0201, TrayCallbackAction::None},
      {0x0203, TrayCallbackAction::None},     {0x0204, TrayCallbackAction::None},
      {0x0206, TrayCallbackAction::None},     {0x0207, TrayCallbackAction::None},
      {0x0208, TrayCallbackAction::None},     {0x00010202, TrayCallbackAction::Toggle},
      {0, TrayCallbackAction::None},
  };
  for (const auto& c : cases) EXPECT_EQ(DecodeTrayCallback(c.lParam), c.action) << std::hex << c.lParam;
}

}  // namespace
}  // namespace vexbane::tray
