// Blocks today and in all: kept by the tray in the settings key with the day that "today" counts.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/tray_rules.h"

namespace vexbane::blocks {

// Values of the product key, decimal text like every other value; only the tray writes them.
inline constexpr char kBlocksToday[] = "BlocksToday";
inline constexpr char kBlocksTotal[] = "BlocksTotal";
// The local day that "BlocksToday" counts, as the number yyyymmdd ("20240131").
inline constexpr char kBlocksDay[] = "BlocksDay";

struct LocalDate {
  int year = 1970;
  int month = 1;
  int day = 1;
};

// yyyymmdd of a date: one number per local day, so a new day starts at local midnight.
int32_t DayStamp(const LocalDate& date);

// Where the tally learns the local date: the system clock in the tray, a fake in tests.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual LocalDate Today() = 0;
};

struct BlockCounts {
  int32_t today = 0;
  int32_t total = 0;
  int32_t day = 0;  // DayStamp that `today` counts; 0 before the first block
  bool operator==(const BlockCounts& other) const {
    return today == other.today && total == other.total && day == other.day;
  }
};

// The three stored texts as read; nothing for a value that does not exist.
struct StoredCounts {
  std::optional<std::string> today;
  std::optional<std::string> total;
  std::optional<std::string> day;
};

class BlockTally {
 public:
  explicit BlockTally(Clock& clock) : m_clock(&clock) {}

  // Takes the stored values: a missing or unreadable count (not a number, negative) counts
  // from 0; a total below today's count is raised to it.
  void Load(const StoredCounts& stored);
  // One more block now: a new day starts today's count afresh. Counts stop at the 32-bit limit.
  void Add();
  // The counts as of now: today's count is 0 when the stored day is not today.
  BlockCounts Current() const;
  // What the tray writes after a block: all three values.
  std::vector<tray::SettingWrite> Writes() const;

 private:
  Clock* m_clock;
  BlockCounts m_counts;
};

}  // namespace vexbane::blocks
