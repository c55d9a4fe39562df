// Time-of-day arithmetic.
#include "time_of_day.h"

namespace vexbane {

int32_t TimeOfDayFromParts(int hour, int minute, int second, int milliseconds) {
  return ((hour * 60 + minute) * 60 + second) * 1000 + milliseconds;
}

int32_t ElapsedMs(int32_t now, int32_t then) {
  int64_t diff = (static_cast<int64_t>(now) - then + kMsPerDay) % kMsPerDay;
  if (diff < 0) diff += kMsPerDay;
  return static_cast<int32_t>(diff);
}

}  // namespace vexbane
