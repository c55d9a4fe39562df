// Feeds arbitrary bytes to the parser of every record version, then the target's rules on what it accepts.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "core/block_record_v3.h"
#include "core/blocked_hosts.h"
#include "core/recent_blocks_target.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vexbane::blocks;
  // Short inputs are widened to a version 3 record so the field checks, not only the size check, run.
  BlockRecordWireV3 wire;
  std::memset(&wire, 0, sizeof wire);
  std::memcpy(&wire, data, size < sizeof wire ? size : sizeof wire);
  for (const void* bytes : {static_cast<const void*>(data), static_cast<const void*>(&wire)}) {
    const size_t n = bytes == data ? size : sizeof wire;
    auto record = ParseAnyBlockRecord(bytes, n);
    if (!record) continue;
    if (HasControlBytes(record->pageUrl) || HasControlBytes(record->targetUrl)) __builtin_trap();
    // Version 3 carries every field a record of any version can have.
    BlockRecordWireV3 again = EncodeBlockRecordV3(*record);
    auto back = ParseAnyBlockRecord(&again, sizeof again);
    if (!back || !(*back == *record)) __builtin_trap();
    RecentBlocks list;
    list.Add(*record);
    if (RowTextWithTarget(list.Rows().front()).empty()) __builtin_trap();
    AddBlockedHost({}, record->targetUrl);
  }
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  HostIsBlocked({std::string(text.substr(0, size / 2))}, SiteOfAddress(text.substr(size / 2)));
  return 0;
}
