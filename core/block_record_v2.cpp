// Version 2 of the block record, and the parser that takes either version.
#include "block_record_v2.h"

#include <cstring>

#include "core/block_record_fields.h"
#include "core/block_record_v3.h"
#include "core/text.h"

namespace vexbane::blocks {
namespace {

std::optional<BlockRecord> ParseV2(const void* data) {
  BlockRecordWireV2 wire;
  std::memcpy(&wire, data, sizeof wire);
  if (wire.size != sizeof wire || wire.version != kRecordVersion2) return std::nullopt;
  return ParseFieldsFromV2(wire);
}

}  // namespace

std::optional<BlockRecord> ParseFieldsFromV2(const BlockRecordWireV2& wire) {
  BlockRecord record;
  if (wire.kind < static_cast<uint32_t>(BlockKind::NewWindow) || wire.kind > static_cast<uint32_t>(BlockKind::NewTab))
    return std::nullopt;
  record.kind = static_cast<BlockKind>(wire.kind);
  if (wire.reason < static_cast<uint32_t>(BlockReason::NoClick) ||
      wire.reason > static_cast<uint32_t>(BlockReason::PageClosing))
    return std::nullopt;
  record.reason = static_cast<BlockReason>(wire.reason);
  if (!fields::ReadLevelAndTime(wire.level, wire.timeOfDayMs, record)) return std::nullopt;
  record.blockId = wire.blockId;
  if (!fields::ReadText(wire.pageUrl, record.pageUrl) || !fields::ReadText(wire.targetUrl, record.targetUrl))
    return std::nullopt;
  return record;
}

bool HasControlBytes(std::string_view text) { return HoldsControlCharacter(text); }

BlockRecordWireV2 EncodeBlockRecordV2(const BlockRecord& record) {
  BlockRecordWireV2 wire;
  fields::EncodeLead(wire, kRecordVersion2, record);
  wire.blockId = record.blockId;
  fields::CopyText(wire.pageUrl, record.pageUrl);
  if (!HasControlBytes(record.targetUrl)) fields::CopyText(wire.targetUrl, record.targetUrl);
  return wire;
}

std::optional<BlockRecord> ParseAnyBlockRecord(const void* data, size_t size) {
  if (!data) return std::nullopt;
  if (size == sizeof(BlockRecordWireV2)) return ParseV2(data);
  if (size == sizeof(BlockRecordWireV3)) return ParseBlockRecordV3(data);
  auto record = ParseBlockRecord(data, size);
  if (record && HasControlBytes(record->pageUrl)) return std::nullopt;
  return record;
}

}  // namespace vexbane::blocks
