// Feeds arbitrary bytes to the block-record parser, then the site and row rules of what it accepts.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "core/block_record.h"
#include "core/recent_blocks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vexbane::blocks;
  // Short inputs are widened to a record's size so the field checks, not only the size check, run.
  BlockRecordWire wire;
  std::memset(&wire, 0, sizeof wire);
  std::memcpy(&wire, data, size < sizeof wire ? size : sizeof wire);
  for (const void* bytes : {static_cast<const void*>(data), static_cast<const void*>(&wire)}) {
    const size_t n = bytes == data ? size : sizeof wire;
    auto record = ParseBlockRecord(bytes, n);
    if (!record) continue;
    if (record->pageUrl.size() >= kPageUrlBytes) __builtin_trap();
    // What was accepted must survive a second trip unchanged.
    BlockRecordWire again = EncodeBlockRecord(*record);
    auto back = ParseBlockRecord(&again, sizeof again);
    if (!back || !(*back == *record)) __builtin_trap();
    RecentBlocks list;
    list.Add(*record);
    if (RowText(list.Rows().front()).empty()) __builtin_trap();
  }
  SiteOfAddress(std::string_view(reinterpret_cast<const char*>(data), size));
  return 0;
}
