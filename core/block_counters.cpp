// Blocks today and in all, and the day that today counts.
#include "block_counters.h"

#include <limits>

#include "core/text.h"

namespace vexbane::blocks {
namespace {

int32_t CountFrom(const std::optional<std::string>& text) {
  if (!text) return 0;
  auto value = ToInt32(*text);
  return value && *value > 0 ? *value : 0;
}

int32_t Increment(int32_t value) {
  return value < std::numeric_limits<int32_t>::max() ? value + 1 : value;
}

}  // namespace

int32_t DayStamp(const LocalDate& date) { return date.year * 10000 + date.month * 100 + date.day; }

void BlockTally::Load(const StoredCounts& stored) {
  m_counts.today = CountFrom(stored.today);
  m_counts.total = CountFrom(stored.total);
  m_counts.day = CountFrom(stored.day);
  if (m_counts.total < m_counts.today) m_counts.total = m_counts.today;
}

void BlockTally::Add() {
  const int32_t today = DayStamp(m_clock->Today());
  if (m_counts.day != today) {
    m_counts.day = today;
    m_counts.today = 0;
  }
  m_counts.today = Increment(m_counts.today);
  m_counts.total = Increment(m_counts.total);
}

BlockCounts BlockTally::Current() const {
  BlockCounts now = m_counts;
  if (now.day != DayStamp(m_clock->Today())) now.today = 0;
  return now;
}

std::vector<tray::SettingWrite> BlockTally::Writes() const {
  return {{kBlocksToday, std::to_string(m_counts.today)},
          {kBlocksTotal, std::to_string(m_counts.total)},
          {kBlocksDay, std::to_string(m_counts.day)}};
}

}  // namespace vexbane::blocks
