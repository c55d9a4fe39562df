// Version 3 of the block record.
#include "block_record_v3.h"

#include <cstring>

namespace vexbane::blocks {

BlockRecordWireV3 EncodeBlockRecordV3(const BlockRecord& record) {
  BlockRecordWireV3 wire;
  std::memset(&wire, 0, sizeof wire);
  wire.fields = EncodeBlockRecordV2(record);
  wire.fields.size = sizeof wire;
  wire.fields.version = kRecordVersion3;
  wire.openWindow = record.openWindow;
  return wire;
}

std::optional<BlockRecord> ParseBlockRecordV3(const void* data) {
  if (!data) return std::nullopt;
  BlockRecordWireV3 wire;
  std::memcpy(&wire, data, sizeof wire);
  if (wire.fields.size != sizeof wire || wire.fields.version != kRecordVersion3) return std::nullopt;
  auto record = ParseFieldsFromV2(wire.fields);
  if (record) record->openWindow = wire.openWindow;
  return record;
}

}  // namespace vexbane::blocks
