// The record a block sends to the tray program: fixed size, versioned, NUL-terminated ANSI text.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vexbane::blocks {

// What was stopped.
enum class BlockKind : uint32_t {
  NewWindow = 1,  // a new browser window, cancelled in NewWindow2
  Dialog = 2,     // an HTML dialog window, closed by the message hook
  NewTab = 3,     // a new tab (IE 7 and later say so in NewWindow3's flags; records of version 2)
};

// Why it was stopped.
enum class BlockReason : uint32_t {
  NoClick = 1,    // no click (or release) recorded, or already used by an earlier window
  LateClick = 2,  // the click lay outside the level's time window
  BlockAll = 3,   // level 4 blocks every window the allow list and Ctrl do not let through
  BlockedHost = 4,  // the new window would show a host of the Blocked Hosts list (records of version 2)
  PageClosing = 5,  // the browser said the page opened it while being left or closed (version 2)
};

inline constexpr uint32_t kRecordVersion = 1;
// Marks the record among WM_COPYDATA messages (COPYDATASTRUCT.dwData): "VXB1".
inline constexpr uint32_t kRecordTag = 0x31425856;
// Room for the longest address the browser takes (2083 characters) and its NUL.
inline constexpr size_t kPageUrlBytes = 2084;

// The bytes that travel, in this order; every field is 32-bit little-endian as both ends are
// x86, and the text is NUL-terminated within its field (the rest of the field is zero).
struct BlockRecordWire {
  uint32_t size;         // sizeof(BlockRecordWire)
  uint32_t version;      // kRecordVersion
  uint32_t kind;         // BlockKind
  uint32_t reason;       // BlockReason
  int32_t level;         // blocking level in force: any non-zero 16-bit number
  int32_t timeOfDayMs;   // when, ms since local midnight of the browser's clock
  char pageUrl[kPageUrlBytes];  // address of the page that tried to open the window
};
static_assert(sizeof(BlockRecordWire) == 24 + kPageUrlBytes, "no padding: the size is the version's contract");

// A record as the program uses it.
struct BlockRecord {
  BlockKind kind = BlockKind::NewWindow;
  BlockReason reason = BlockReason::NoClick;
  int16_t level = 0;
  int32_t timeOfDayMs = 0;
  std::string pageUrl;
  std::string targetUrl;  // where the new window was going; empty when the browser did not say
  uint32_t blockId = 0;   // the helper's number for the block, to ask it for the window later
  uint32_t openWindow = 0;  // the window that takes that request; 0: the browser frame that sent it

  bool operator==(const BlockRecord& other) const;
};

// The wire form; an address longer than the field holds is cut to fit with its NUL.
BlockRecordWire EncodeBlockRecord(const BlockRecord& record);

// The record in `size` bytes at `data`, or nothing unless every field is well formed: exactly
// sizeof(BlockRecordWire) bytes whose size field agrees, this version, a known kind and reason,
// a non-zero 16-bit level, a time of day within one day, a NUL inside the address field, and no
// control character (a byte below 0x20) before it.
std::optional<BlockRecord> ParseBlockRecord(const void* data, size_t size);

// Reason of a blocking decision, from the level and whether a click (or release) was recorded.
BlockReason ReasonFor(int16_t level, bool clickRecorded);

// Short English texts for the window: "new window" / "dialog" / "new tab"; "no click" / "late click" /
// "Block All Popup" (the level's menu caption) / "blocked host" / "page closing".
std::string_view KindText(BlockKind kind);
std::string_view ReasonText(BlockReason reason);

}  // namespace vexbane::blocks
