// Blocks today and in all: across restarts (stored values) and across local midnight (the clock).
#include "core/block_counters.h"

#include <gtest/gtest.h>

#include <limits>

namespace vexbane::blocks {
namespace {

class FakeClock : public Clock {
 public:
  LocalDate date{2024, 1, 31};
  LocalDate Today() override { return date; }
};

StoredCounts Stored(const char* today, const char* total, const char* day) {
  StoredCounts s;
  if (today) s.today = today;
  if (total) s.total = total;
  if (day) s.day = day;
  return s;
}

TEST(BlockTally, StartsFromNothingOnAFreshKey) {
  FakeClock clock;
  BlockTally tally(clock);
  tally.Load({});
  EXPECT_EQ(tally.Current(), (BlockCounts{0, 0, 0}));
  tally.Add();
  EXPECT_EQ(tally.Current(), (BlockCounts{1, 1, 20240131}));
  EXPECT_EQ(tally.Writes(), (std::vector<tray::SettingWrite>{
                                {"BlocksToday", "1"}, {"BlocksTotal", "1"}, {"BlocksDay", "20240131"}}));
}

TEST(BlockTally, GoesOnFromTheStoredValuesAfterARestart) {
  FakeClock clock;
  BlockTally before(clock);
  before.Load({});
  for (int i = 0; i < 3; ++i) before.Add();
  StoredCounts stored;
  for (const tray::SettingWrite& w : before.Writes()) {
    if (w.name == kBlocksToday) stored.today = w.text;
    if (w.name == kBlocksTotal) stored.total = w.text;
    if (w.name == kBlocksDay) stored.day = w.text;
  }
  BlockTally after(clock);
  after.Load(stored);
  EXPECT_EQ(after.Current(), (BlockCounts{3, 3, 20240131}));
  after.Add();
  EXPECT_EQ(after.Current(), (BlockCounts{4, 4, 20240131}));
}

TEST(BlockTally, ANewDayStartsAtLocalMidnight) {
  FakeClock clock;
  BlockTally tally(clock);
  tally.Load(Stored("5", "40", "20240131"));
  EXPECT_EQ(tally.Current().today, 5);
  clock.date = {2024, 2, 1};  // midnight passed while the tray ran
  EXPECT_EQ(tally.Current(), (BlockCounts{0, 40, 20240131}));
  tally.Add();
  EXPECT_EQ(tally.Current(), (BlockCounts{1, 41, 20240201}));
}

TEST(BlockTally, AStoredDayOtherThanTodayCountsNothingToday) {
  FakeClock clock;
  BlockTally tally(clock);
  tally.Load(Stored("9", "12", "20231231"));  // the tray last ran another day
  EXPECT_EQ(tally.Current().today, 0);
  EXPECT_EQ(tally.Current().total, 12);
  clock.date = {2023, 12, 31};  // the clock set back to that day
  EXPECT_EQ(tally.Current().today, 9);
}

TEST(BlockTally, UnreadableValuesCountFromZero) {
  FakeClock clock;
  BlockTally tally(clock);
  tally.Load(Stored("abc", "-4", "x"));
  EXPECT_EQ(tally.Current(), (BlockCounts{0, 0, 0}));
  tally.Load(Stored("7", "2", "20240131"));  // a total below today's count is raised
  EXPECT_EQ(tally.Current(), (BlockCounts{7, 7, 20240131}));
}

TEST(BlockTally, StopsAtTheLimitInsteadOfWrapping) {
  FakeClock clock;
  BlockTally tally(clock);
  const std::string max = std::to_string(std::numeric_limits<int32_t>::max());
  tally.Load(Stored(max.c_str(), max.c_str(), "20240131"));
  tally.Add();
  EXPECT_EQ(tally.Current().today, std::numeric_limits<int32_t>::max());
  EXPECT_EQ(tally.Current().total, std::numeric_limits<int32_t>::max());
}

TEST(DayStamp, OneNumberPerDayInDateOrder) {
  EXPECT_EQ(DayStamp({2024, 2, 29}), 20240229);
  EXPECT_LT(DayStamp({2023, 12, 31}), DayStamp({2024, 1, 1}));
}

}  // namespace
}  // namespace vexbane::blocks
