// Time-of-day arithmetic and how a stored value's text is taken from the read buffer.
#include "core/settings.h"
#include "core/time_of_day.h"

#include <gtest/gtest.h>

#include <cstring>

namespace vexbane {
namespace {

TEST(TimeOfDay, CountsMillisecondsSinceMidnight) {
  EXPECT_EQ(TimeOfDayFromParts(0, 0, 0, 0), 0);
  EXPECT_EQ(TimeOfDayFromParts(23, 59, 59, 999), kMsPerDay - 1);
  EXPECT_EQ(TimeOfDayFromParts(1, 2, 3, 4), 3723004);
}

TEST(ElapsedMs, IsThePlainDifferenceWithinADay) {
  EXPECT_EQ(ElapsedMs(1700, 1000), 700);
  EXPECT_EQ(ElapsedMs(5000, 5000), 0);
}

TEST(ElapsedMs, CrossesMidnightForward) {
  int32_t beforeMidnight = TimeOfDayFromParts(23, 59, 59, 900);
  int32_t afterMidnight = TimeOfDayFromParts(0, 0, 0, 100);
  EXPECT_EQ(ElapsedMs(afterMidnight, beforeMidnight), 200);
  // An hour after a click at 23:30 is an hour, not a negative number that passes every window.
  EXPECT_EQ(ElapsedMs(TimeOfDayFromParts(0, 30, 0, 0), TimeOfDayFromParts(23, 30, 0, 0)), 3600000);
}

std::optional<std::string> Take(const char* stored, uint32_t size, bool upper) {
  char buffer[255];
  std::memset(buffer, ' ', sizeof buffer);
  std::memcpy(buffer, stored, size);
  return settings::TextFromValueBuffer(buffer, size, upper);
}

TEST(TextFromValueBuffer, TrimsAndDropsTheTerminatingNul) {
  EXPECT_EQ(Take(" 2 ", 4, true).value(), "2");
  EXPECT_EQ(Take("abc", 4, true).value(), "ABC");
  EXPECT_EQ(Take("abc", 4, false).value(), "abc");
}

TEST(TextFromValueBuffer, ZeroBytesGiveNoText) {
  EXPECT_FALSE(Take("", 0, true).has_value());
  EXPECT_EQ(Take("", 1, true).value(), "");
}


TEST(DwordFromValueBuffer, OnlyAFourByteRegDwordHoldsANumber) {
  const unsigned char three[4] = {3, 0, 0, 0};
  const unsigned char minusOne[4] = {0xFF, 0xFF, 0xFF, 0xFF};
  const unsigned char big[4] = {0x78, 0x56, 0x34, 0x12};
  EXPECT_EQ(settings::DwordFromValueBuffer(4, three, 4).value(), 3);
  EXPECT_EQ(settings::DwordFromValueBuffer(4, minusOne, 4).value(), -1);
  EXPECT_EQ(settings::DwordFromValueBuffer(4, big, 4).value(), 0x12345678);
  // The text "4" stored as REG_SZ: its bytes would read as 52 if the type were not looked at.
  const unsigned char text[4] = {'4', 0, 0, 0};
  EXPECT_FALSE(settings::DwordFromValueBuffer(1, text, 2).has_value());
  EXPECT_FALSE(settings::DwordFromValueBuffer(1, text, 4).has_value());
  EXPECT_FALSE(settings::DwordFromValueBuffer(3, three, 4).has_value());  // REG_BINARY
  EXPECT_FALSE(settings::DwordFromValueBuffer(5, three, 4).has_value());  // REG_DWORD_BIG_ENDIAN
  EXPECT_FALSE(settings::DwordFromValueBuffer(4, three, 2).has_value());  // short
  EXPECT_FALSE(settings::DwordFromValueBuffer(4, three, 0).has_value());
  EXPECT_FALSE(settings::DwordFromValueBuffer(4, nullptr, 4).has_value());
}

}  // namespace
}  // namespace vexbane
