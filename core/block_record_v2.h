// Version 2 of the block record: version 1 plus where the blocked window was going and the helper's number for it.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "core/block_record.h"

namespace vexbane::blocks {

inline constexpr uint32_t kRecordVersion2 = 2;

// The window message (registered by this name) that the tray posts to a browser frame to open
// the blocked window whose number is wParam after all.
inline constexpr char kOpenBlockedMessageName[] = "VexbaneOpenBlocked";

// Laid out like version 1 up to the time of day; the tray tells the two apart by size and version.
struct BlockRecordWireV2 {
  uint32_t size;         // sizeof(BlockRecordWireV2)
  uint32_t version;      // kRecordVersion2
  uint32_t kind;         // BlockKind
  uint32_t reason;       // BlockReason, BlockedHost and PageClosing included
  int32_t level;
  int32_t timeOfDayMs;
  uint32_t blockId;      // 0 when the window cannot be asked for again
  char pageUrl[kPageUrlBytes];
  char targetUrl[kPageUrlBytes];  // empty when the browser did not say (NewWindow2, dialogs)
};
static_assert(sizeof(BlockRecordWireV2) == 28 + 2 * kPageUrlBytes, "no padding: the size is the version's contract");

// True when the text holds a byte below 0x20 (a line break or other control character): no
// address a browser shows holds one, and the tray would show, copy or open it as it stands.
bool HasControlBytes(std::string_view text);

// The wire form of version 2; an address longer than its field is cut to fit with its NUL, and
// a target address holding control bytes is left out.
BlockRecordWireV2 EncodeBlockRecordV2(const BlockRecord& record);

// A record of any version, or nothing unless every field is well formed (as for version 1,
// with the blocked-host reason and the new tab allowed from version 2 on), both addresses end
// within their fields and neither holds a control byte.
std::optional<BlockRecord> ParseAnyBlockRecord(const void* data, size_t size);

// The fields version 2 has, checked as above; the caller has checked the size and version.
std::optional<BlockRecord> ParseFieldsFromV2(const BlockRecordWireV2& wire);

}  // namespace vexbane::blocks
