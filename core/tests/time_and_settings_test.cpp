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

}  // namespace
}  // namespace vexbane
