// A host fitted into a narrow column keeps its end whole.
#include "core/text_fit.h"

#include <gtest/gtest.h>

namespace vexbane::text {
namespace {

// Six pixels a character, as a fixed-pitch font would measure.
int Fixed(std::string_view s) { return static_cast<int>(s.size()) * 6; }

// A proportional font: dots and "i", "l" narrow, "m", "w" wide.
int Proportional(std::string_view s) {
  int width = 0;
  for (char c : s) width += (c == '.' || c == 'i' || c == 'l') ? 2 : (c == 'm' || c == 'w') ? 9 : 6;
  return width;
}

TEST(FitKeepingEnd, AHostThatFitsIsShownAsItIs) {
  EXPECT_EQ(FitKeepingEnd("ads.example", 66, Fixed), "ads.example");
  EXPECT_EQ(FitKeepingEnd("", 0, Fixed), "");
}

TEST(FitKeepingEnd, ALongHostLosesItsStartAndKeepsTheSite) {
  const std::string host = "www.bank.example.ads.example";  // 28 characters, 168 pixels
  EXPECT_EQ(FitKeepingEnd(host, 167, Fixed), "...bank.example.ads.example");
  EXPECT_EQ(FitKeepingEnd(host, 96, Fixed), "...e.ads.example");
  EXPECT_EQ(FitKeepingEnd(host, 101, Fixed), "...e.ads.example") << "a partial character never shows";
  for (int width = 24; width < 168; ++width) {
    const std::string shown = FitKeepingEnd(host, width, Fixed);
    EXPECT_LE(Fixed(shown), width);
    ASSERT_EQ(shown.compare(0, 3, "..."), 0) << width;
    EXPECT_EQ(host.compare(host.size() - (shown.size() - 3), std::string::npos, shown.substr(3)), 0)
        << "the end of the host, whole: " << shown;
    EXPECT_GT(Fixed(shown) + 6, width) << "the most that fits: " << shown;
  }
}

TEST(FitKeepingEnd, TheMostThatFitsInAProportionalFont) {
  const std::string host = "www.mail.example.ads.example";
  const int width = 80;
  const std::string shown = FitKeepingEnd(host, width, Proportional);
  EXPECT_LE(Proportional(shown), width);
  const std::string kept = shown.substr(3);
  const std::string longer = "..." + host.substr(host.size() - kept.size() - 1);
  EXPECT_GT(Proportional(longer), width) << shown;
  EXPECT_EQ(shown, "...le.ads.example");
}

TEST(FitKeepingEnd, TooNarrowColumnsShowTheEllipsisOrNothing) {
  EXPECT_EQ(FitKeepingEnd("pop.example", 20, Fixed), "...") << "room for the dots, not one character more";
  EXPECT_EQ(FitKeepingEnd("pop.example", 17, Fixed), "");
  EXPECT_EQ(FitKeepingEnd("pop.example", -5, Fixed), "");
}

TEST(FitKeepingEnd, NeverCutsADoubleByteCharacterInTwo) {
  // A lead byte (0x82) and its trail byte (0xA0) of an ANSI double-byte code page, then ASCII.
  const std::string host = "ab\x82\xA0" "cd.example";
  for (int width = 18; width < Fixed(host); ++width) {
    const std::string shown = FitKeepingEnd(host, width, Fixed);
    if (shown.size() <= 3) continue;
    const size_t cut = host.size() - (shown.size() - 3);
    EXPECT_NE(cut, 3u) << "a cut between the lead byte and its trail at width " << width;
  }
}

}  // namespace
}  // namespace vexbane::text
