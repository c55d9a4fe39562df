// The fields every version of the block record carries alike, written and read one way, so
// that a rule for one of them cannot drift between the versions.
#pragma once
#include <cstdint>
#include <cstring>
#include <string>

#include "core/block_record.h"

namespace vexbane::blocks::fields {

// Zeroes `wire` (the text fields' tails go out as zeros) and fills the fields that lead every
// version: size, version, kind, reason, level and time of day.
template <class Wire>
void EncodeLead(Wire& wire, uint32_t version, const BlockRecord& record) {
  std::memset(&wire, 0, sizeof wire);
  wire.size = sizeof wire;
  wire.version = version;
  wire.kind = static_cast<uint32_t>(record.kind);
  wire.reason = static_cast<uint32_t>(record.reason);
  wire.level = record.level;
  wire.timeOfDayMs = record.timeOfDayMs;
}

// `text` into a zeroed address field, cut at an embedded NUL and to fit with its own NUL.
void CopyText(char (&field)[kPageUrlBytes], const std::string& text);

// The address in `field` into `out`. False when the field holds no NUL or the text a control
// byte.
bool ReadText(const char (&field)[kPageUrlBytes], std::string& out);

// The level (any non-zero 16-bit number) and the time of day (within one day) into `record`.
// False when either is out of range.
bool ReadLevelAndTime(int32_t level, int32_t timeOfDayMs, BlockRecord& record);

}  // namespace vexbane::blocks::fields
