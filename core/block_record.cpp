// The block record's wire form and its validating parser.
#include "block_record.h"

#include <cstring>

#include "core/block_record_fields.h"

namespace vexbane::blocks {

bool BlockRecord::operator==(const BlockRecord& other) const {
  return kind == other.kind && reason == other.reason && level == other.level &&
         timeOfDayMs == other.timeOfDayMs && pageUrl == other.pageUrl &&
         targetUrl == other.targetUrl && blockId == other.blockId && openWindow == other.openWindow;
}

BlockRecordWire EncodeBlockRecord(const BlockRecord& record) {
  BlockRecordWire wire;
  fields::EncodeLead(wire, kRecordVersion, record);
  fields::CopyText(wire.pageUrl, record.pageUrl);
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
  if (!fields::ReadLevelAndTime(wire.level, wire.timeOfDayMs, record)) return std::nullopt;
  if (!fields::ReadText(wire.pageUrl, record.pageUrl)) return std::nullopt;
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
    case BlockReason::BlockAll: return "Block All Popup";
    case BlockReason::BlockedHost: return "blocked host";
    case BlockReason::PageClosing: return "page closing";
    case BlockReason::NoClick: break;
  }
  return "no click";
}

}  // namespace vexbane::blocks
