// Version 2 of the block record, and the parser that takes either version.
#include "block_record_v2.h"

#include "core/block_record_v3.h"

#include <cstring>

#include "core/time_of_day.h"

namespace vexbane::blocks {
namespace {

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
  return !HasControlBytes(out);
}

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
      wire.reason > static_cast<uint32_t>(BlockReason::BlockedHost))
    return std::nullopt;
  record.reason = static_cast<BlockReason>(wire.reason);
  if (wire.level == 0 || wire.level < INT16_MIN || wire.level > INT16_MAX) return std::nullopt;
  record.level = static_cast<int16_t>(wire.level);
  if (wire.timeOfDayMs < 0 || wire.timeOfDayMs >= kMsPerDay) return std::nullopt;
  record.timeOfDayMs = wire.timeOfDayMs;
  record.blockId = wire.blockId;
  if (!ReadText(wire.pageUrl, record.pageUrl) || !ReadText(wire.targetUrl, record.targetUrl)) return std::nullopt;
  return record;
}

bool HasControlBytes(std::string_view text) {
  for (char c : text)
    if (static_cast<unsigned char>(c) < 0x20) return true;
  return false;
}

BlockRecordWireV2 EncodeBlockRecordV2(const BlockRecord& record) {
  BlockRecordWireV2 wire;
  std::memset(&wire, 0, sizeof wire);
  wire.size = sizeof wire;
  wire.version = kRecordVersion2;
  wire.kind = static_cast<uint32_t>(record.kind);
  wire.reason = static_cast<uint32_t>(record.reason);
  wire.level = record.level;
  wire.timeOfDayMs = record.timeOfDayMs;
  wire.blockId = record.blockId;
  CopyText(wire.pageUrl, record.pageUrl);
  if (!HasControlBytes(record.targetUrl)) CopyText(wire.targetUrl, record.targetUrl);
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
