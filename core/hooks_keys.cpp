// Key classification of the keyboard hook.
#include "hooks_keys.h"

namespace vexbane::hooks {

bool IsTypingKey(uint32_t vk) {
  if (vk >= 0x30 && vk <= 0x39) return true;  // digits
  if (vk >= 0x41 && vk <= 0x5A) return true;  // letters
  if (vk >= 0x60 && vk <= 0x6F) return true;  // number pad digits and operators
  if (vk >= 0xBA && vk <= 0xC0) return true;  // ;= , - . / `
  if (vk >= 0xDB && vk <= 0xDF) return true;  // [ \ ] ' and the OEM 8 key
  return vk == 0xE2 || vk == 0x08 || vk == 0x2E;  // the 102nd key, Backspace, Delete
}

bool IsModifierKey(uint32_t vk) {
  if (vk >= 0x10 && vk <= 0x12) return true;  // Shift, Ctrl, Alt
  if (vk >= 0xA0 && vk <= 0xA5) return true;  // their left and right keys
  return vk == 0x14 || vk == 0x5B || vk == 0x5C;  // Caps Lock, the Windows keys
}

namespace {

bool OnPage(std::string_view focusClass) {
  return !IsListedBrowserClass(focusClass) && focusClass != kHiddenBrowserClass;
}

void RecordKeyClick(ClickTimes& times, int32_t now) {
  times.lngButtonUpTime = now;
  times.lngClickTime = now;
}

}  // namespace

bool OnKey(ClickTimes& times, KeyMemory& memory, const KeyEvent& key, std::string_view focusClass, int32_t now) {
  // A peek that leaves the key in the queue sees it again when it is taken: count it once.
  if (!key.removed) return false;
  if (key.down) {
    if (key.repeat || IsModifierKey(key.vk)) return false;
    const bool afterTyping = memory.lastPressTyped;
    memory.lastPressTyped = IsTypingKey(key.vk);
    if (key.vk == kVkSpace) memory.spaceCounts = !afterTyping && !key.altHeld;
    if (key.vk != kVkReturn || key.altHeld || !OnPage(focusClass)) return false;
    RecordKeyClick(times, now);
    return true;
  }
  if (key.vk != kVkSpace) return false;
  const bool counts = memory.spaceCounts && !key.altHeld && OnPage(focusClass);
  memory.spaceCounts = false;
  if (counts) RecordKeyClick(times, now);
  return counts;
}

}  // namespace vexbane::hooks
