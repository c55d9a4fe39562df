// The block record's wire form and its validating parser.
#include "block_record.h"

#include <cstring>

#include "core/text.h"
#include "core/time_of_day.h"

namespace vexbane::blocks {

bool BlockRecord::operator==(const BlockRecord& other) const {
  return kind == other.kind && reason == other.reason && level == other.level &&
         timeOfDayMs == other.timeOfDayMs && pageUrl == other.pageUrl &&
         targetUrl == other.targetUrl && blockId == other.blockId && openWindow == other.openWindow;
}

BlockRecordWire EncodeBlockRecord(const BlockRecord& record) {
  BlockRecordWire wire;
  std::memset(&wire, 0, sizeof wire);
  wire.size = sizeof wire;
  wire.version = kRecordVersion;
  wire.kind = static_cast<uint32_t>(record.kind);
  wire.reason = static_cast<uint32_t>(record.reason);
  wire.level = record.level;
  wire.timeOfDayMs = record.timeOfDayMs;
  // An embedded NUL would end the text early on the other side anyway: cut there too.
  size_t n = record.pageUrl.find('\0');
  if (n == std::string::npos) n = record.pageUrl.size();
  if (n > kPageUrlBytes - 1) n = kPageUrlBytes - 1;
  std::memcpy(wire.pageUrl, record.pageUrl.data(), n);
  return wire;
}

std::optional<BlockRecord> ParseBlockRecord(const void* data, size_t size) {
  if (!data || size != sizeof(BlockRecordWire)) return std::nullopt;
  BlockRecordWire wire;
  std::memcpy(&wire, data, sizeof wire);
  if (wire.size != sizeof wire || wire.version != kRecordVersion) return std::nullopt;

  BlockRecord record;
  switch (wire.kind) {
    case static_cast<uint32_t>(BlockKind::NewWindow): record.kind = BlockKind::NewWindow; break;
    case static_cast<uint32_t>(BlockKind::Dialog): record.kind = BlockKind::Dialog; break;
    default: return std::nullopt;
  }
  switch (wire.reason) {
    case static_cast<uint32_t>(BlockReason::NoClick): record.reason = BlockReason::NoClick; break;
    case static_cast<uint32_t>(BlockReason::LateClick): record.reason = BlockReason::LateClick; break;
    case static_cast<uint32_t>(BlockReason::BlockAll): record.reason = BlockReason::BlockAll; break;
    default: return std::nullopt;
  }
  if (wire.level == 0 || wire.level < INT16_MIN || wire.level > INT16_MAX) return std::nullopt;
  record.level = static_cast<int16_t>(wire.level);
  if (wire.timeOfDayMs < 0 || wire.timeOfDayMs >= kMsPerDay) return std::nullopt;
  record.timeOfDayMs = wire.timeOfDayMs;
  const void* nul = std::memchr(wire.pageUrl, '\0', sizeof wire.pageUrl);
  if (!nul) return std::nullopt;
  record.pageUrl.assign(wire.pageUrl, static_cast<const char*>(nul) - wire.pageUrl);
  // Any local program may send a record; an address never holds a line break or a tab, and one
  // that did would carry them into the rows and, through "Allow Site", into the allow list.
  if (HoldsControlCharacter(record.pageUrl)) return std::nullopt;
  return record;
}

BlockReason ReasonFor(int16_t level, bool clickRecorded) {
  if (level == 4) return BlockReason::BlockAll;
  return clickRecorded ? BlockReason::LateClick : BlockReason::NoClick;
}

std::string_view KindText(BlockKind kind) {
  switch (kind) {
    case BlockKind::Dialog: return "dialog";
    case BlockKind::NewTab: return "new tab";
    case BlockKind::NewWindow: break;
  }
  return "new window";
}

std::string_view ReasonText(BlockReason reason) {
  switch (reason) {
    case BlockReason::LateClick: return "late click";
    case BlockReason::BlockAll: return "level 4 blocks all";
    case BlockReason::BlockedHost: return "blocked host";
    case BlockReason::NoClick: break;
  }
  return "no click";
}

}  // namespace vexbane::blocks
