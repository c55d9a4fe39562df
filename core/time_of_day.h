// Time of day in milliseconds since local midnight: the one clock of every timing rule.
#pragma once
#include <cstdint>

namespace vexbane {

inline constexpr int32_t kMsPerDay = 86400000;

// ((hour × 60 + minute) × 60 + second) × 1000 + milliseconds.
int32_t TimeOfDayFromParts(int hour, int minute, int second, int milliseconds);

// Milliseconds from `then` to `now`, both times of day, across midnight when `now` is smaller:
// a time recorded at 23:59:59.900 is 200 ms before 00:00:00.100, not a day after.
// A stored 0 means "no time recorded"; callers test for it before asking.
int32_t ElapsedMs(int32_t now, int32_t then);

}  // namespace vexbane
