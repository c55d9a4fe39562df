// The tray form's state as one 32-bit word: the answer to the diagnostic window message
// "VexbaneTrayState", so that a test or support tool in another process can see the menu's
// check marks and the icon without opening the menu.
#pragma once
#include <cstdint>

#include "tray_rules.h"

namespace vexbane::tray {

// Name of the registered window message that the tray form answers with PackTrayState().
inline constexpr char kTrayStateMessage[] = "VexbaneTrayState";

struct TrayState {
  bool levelChecked[5] = {};     // by level: [0] "Allow Popup" ... [4] "Block All Popup"
  bool soundChecked[3] = {};     // Wave Sound, Internal Sound, No Sound
  bool blockMessengerChecked = false;
  bool allowMessengerChecked = false;
  bool messengerItemsShown = false;
  bool blnBlocking = false;
  IconRole icon = IconRole::Blocking;
  bool iconInTray = false;       // the last add or change of the icon was accepted by the shell
  uint8_t blinks = 0;            // blinks so far (stops at 255)

  bool operator==(const TrayState& other) const;
};

// Bits 0-4 the level items by level, 5-7 the sound items, 8 Block Messenger, 9 Allow
// Messenger, 10 Messenger items shown, 11 blnBlocking, 12 allowing icon, 13 icon in the tray,
// 16-23 the blink count. Bits 14, 15 and 24-31 are zero.
uint32_t PackTrayState(const TrayState& state);
TrayState UnpackTrayState(uint32_t packed);

}  // namespace vexbane::tray
