// The address, level and time fields of the block record, as both versions write and read them.
#include "block_record_fields.h"

#include "core/text.h"
#include "core/time_of_day.h"

namespace vexbane::blocks::fields {

void CopyText(char (&field)[kPageUrlBytes], const std::string& text) {
  // An embedded NUL would end the text early on the other side anyway: cut there too.
  size_t n = text.find('\0');
  if (n == std::string::npos) n = text.size();
  if (n > kPageUrlBytes - 1) n = kPageUrlBytes - 1;
  std::memcpy(field, text.data(), n);
}

bool ReadText(const char (&field)[kPageUrlBytes], std::string& out) {
  const void* nul = std::memchr(field, '\0', kPageUrlBytes);
  if (!nul) return false;
  out.assign(field, static_cast<const char*>(nul) - field);
  // Any local program may send a record; an address never holds a line break or a tab, and one
  // that did would carry them into the rows and, through "Allow Site", into the allow list.
  return !HoldsControlCharacter(out);
}

bool ReadLevelAndTime(int32_t level, int32_t timeOfDayMs, BlockRecord& record) {
  if (level == 0 || level < INT16_MIN || level > INT16_MAX) return false;
  record.level = static_cast<int16_t>(level);
  if (timeOfDayMs < 0 || timeOfDayMs >= kMsPerDay) return false;
  record.timeOfDayMs = timeOfDayMs;
  return true;
}

}  // namespace vexbane::blocks::fields
