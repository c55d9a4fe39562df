// Version 3 of the block record: version 2 plus the window that takes the tray's "Open".
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>

#include "core/block_record_v2.h"

namespace vexbane::blocks {

inline constexpr uint32_t kRecordVersion3 = 3;

// IE 7 and 8 put each tab on a thread of its own below a frame window of another thread (IE 8:
// another process). A message the tray posts to the frame never passes the tab thread's hook,
// so the helper names a window of its own thread for "Open" to be posted to.
struct BlockRecordWireV3 {
  BlockRecordWireV2 fields;  // its size and version fields say version 3
  uint32_t openWindow;       // a window handle's value; 0: the frame that sent the record
};
static_assert(sizeof(BlockRecordWireV3) == sizeof(BlockRecordWireV2) + 4, "no padding");

BlockRecordWireV3 EncodeBlockRecordV3(const BlockRecord& record);

// `data` holds sizeof(BlockRecordWireV3) bytes: the record, or nothing unless its size and
// version fields say version 3 and its other fields are well formed as in version 2.
std::optional<BlockRecord> ParseBlockRecordV3(const void* data);

}  // namespace vexbane::blocks
