// Twips and pixels, region sizes, message-box placement and layout of the tray program's dialogs.
#include <gtest/gtest.h>

#include "core/dialogs_forms.h"
#include "core/dialogs_layout.h"

namespace vexbane::dialogs {
namespace {

TEST(DialogsTwips, RatioFollowsTheScreenResolution) {
  EXPECT_DOUBLE_EQ(15.0, TwipsPerPixel(96));
  EXPECT_DOUBLE_EQ(12.0, TwipsPerPixel(120));
  EXPECT_DOUBLE_EQ(10.0, TwipsPerPixel(144));
  EXPECT_DOUBLE_EQ(15.0, TwipsPerPixel(0));
}

TEST(DialogsTwips, ConversionRoundsHalvesToEven) {
  struct Case {
    double twips;
    double ratio;
    int pixels;
  } cases[] = {
      {480, 15, 32}, {5412, 15, 361}, {22.5, 15, 2}, {37.5, 15, 2},  // 1.5 -> 2, 2.5 -> 2
      {52.5, 15, 4}, {7, 15, 0},      {8, 15, 1},    {6408, 12, 534},
  };
  for (const Case& c : cases) EXPECT_EQ(c.pixels, TwipsToPixels(c.twips, c.ratio)) << c.twips << "/" << c.ratio;
  EXPECT_EQ(6405, PixelsToTwips(427, 15));
  EXPECT_EQ(18, PixelsToTwips(1, 17.5));  // 17.5 -> 18
  EXPECT_EQ(52, PixelsToTwips(3, 17.5));  // 52.5 -> 52
}

TEST(DialogsTwips, RectKeepsEachAxisOnItsOwnRatio) {
  PixelRect r = ToPixels({480, 1020, 5412, 1584}, 15, 12);
  EXPECT_EQ(32, r.left);
  EXPECT_EQ(85, r.top);
  EXPECT_EQ(361, r.width);
  EXPECT_EQ(132, r.height);
}

TEST(DialogsRegion, SizeIsPicturePlusOneRoundedHalfToEven) {
  struct Case {
    int32_t w, h;
    double ratio;
    int pw, ph;
  } cases[] = {
      {3984, 2256, 15, 267, 151},  // 266.6 and 151.4
      {3984, 2256, 12, 333, 189},
      {6360, 4020, 15, 425, 269},
      {6360, 4020, 12, 531, 336},
      {45, 15, 30, 2, 2},          // 2.5 -> 2, 1.5 -> 2
      {105, 75, 30, 4, 4},         // 4.5 -> 4, 3.5 -> 4
  };
  for (const Case& c : cases) {
    PixelSize s = RegionSize(c.w, c.h, c.ratio, c.ratio);
    EXPECT_EQ(c.pw, s.width) << c.w << "/" << c.ratio;
    EXPECT_EQ(c.ph, s.height) << c.h << "/" << c.ratio;
  }
}

TEST(DialogsMessageBox, OpensATenthInAndAFifthDownFromItsOwner) {
  TwipPoint p = MessageBoxPlacement({1000, 2000, 6408, 4068});
  EXPECT_EQ(1000 + 641, p.left);  // 640.8
  EXPECT_EQ(2000 + 814, p.top);   // 813.6
  TwipPoint half = MessageBoxPlacement({0, 0, 25, 25});
  EXPECT_EQ(2, half.left);  // 2.5 -> 2
  EXPECT_EQ(5, half.top);
  TwipPoint negative = MessageBoxPlacement({-3000, -150, 1000, 1000});
  EXPECT_EQ(-2900, negative.left);
  EXPECT_EQ(50, negative.top);
}

TEST(DialogsMessageBox, ShortMessagesMoveDownAQuarterOfTheLabel) {
  const std::string fortyNine(49, 'x');
  const std::string fifty(50, 'x');
  EXPECT_EQ(888, MessageLabelTop(fortyNine, kMessageText.top, kMessageText.height));
  EXPECT_EQ(720, MessageLabelTop(fifty, kMessageText.top, kMessageText.height));
  EXPECT_EQ(720, MessageLabelTop(fifty + "x", kMessageText.top, kMessageText.height));
  EXPECT_EQ(888, MessageLabelTop("", kMessageText.top, kMessageText.height));
  EXPECT_EQ(888, MessageLabelTop("You shoud type a web site address first.", 720, 672));
  EXPECT_EQ(888, MessageLabelTop("You should select one item in the list box first!", 720, 672));  // 49
  EXPECT_EQ(102, MessageLabelTop("x", 100, 10));  // 102.5 -> 102
}

TEST(DialogsMessageBox, ButtonSetsMatchExactly) {
  struct Case {
    const char* set;
    const char* yes;
    const char* no;
    bool noVisible;
  } cases[] = {
      {"Ok", "Ok", "No", false},   {"YesNo", "Yes", "No", true}, {"NoYes", "No", "Yes", true},
      {"ok", "Yes", "No", true},   {"OK", "Yes", "No", true},    {"yesno", "Yes", "No", true},
      {"", "Yes", "No", true},     {"Ok ", "Yes", "No", true},   {"NOYES", "Yes", "No", true},
  };
  for (const Case& c : cases) {
    ButtonSet b = ButtonsFor(c.set);
    EXPECT_EQ(c.yes, b.yesCaption) << "'" << c.set << "'";
    EXPECT_EQ(c.no, b.noCaption) << "'" << c.set << "'";
    EXPECT_TRUE(b.yesVisible) << "'" << c.set << "'";
    EXPECT_EQ(c.noVisible, b.noVisible) << "'" << c.set << "'";
  }
}

}  // namespace
}  // namespace vexbane::dialogs
