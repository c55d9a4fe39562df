// Key classification of the browser thread's keyboard hook: which key presses count as a click.
#pragma once
#include <cstdint>
#include <string_view>

#include "core/hooks_click.h"

namespace vexbane::hooks {

inline constexpr uint32_t kVkReturn = 0x0D;
inline constexpr uint32_t kVkSpace = 0x20;

// One key message as the keyboard hook sees it.
struct KeyEvent {
  uint32_t vk = 0;
  bool down = false;     // pressed; false: released
  bool repeat = false;   // a press while the key was already down (auto-repeat)
  bool altHeld = false;  // Alt down with it: a menu or browser shortcut, never the page's button
  bool removed = false;  // taken from the queue; false for a peek that leaves it there
};

// What the hook remembers between keys on one thread.
struct KeyMemory {
  bool lastPressTyped = false;  // the last key pressed (not a modifier) put a character into a text
  bool spaceCounts = false;     // the Space now down was pressed where it activates, not types
};

// True for a key that puts a character into a text box (letters, digits, the number pad, the
// punctuation keys) or edits one (Backspace, Delete).
bool IsTypingKey(uint32_t vk);

// Shift, Ctrl, Alt, Caps Lock and the Windows keys: they change other keys and say nothing of
// what the user is doing.
bool IsModifierKey(uint32_t vk);

// Takes one key on a window of `focusClass` (normalised as the mouse hook's class names) at time
// of day `now`. Enter when it goes down (not an auto-repeat) and Space when it comes up count as
// a click, as a left-button release on the page does: both the click time and the release time
// become `now`. Space counts only when it was not pressed right after typing (a space between
// words in a text box); Enter counts always (it submits the form typed into). No key counts with
// Alt held, on the browser's own chrome (a listed class) or when only peeked. Returns true when
// the key counted.
bool OnKey(ClickTimes& times, KeyMemory& memory, const KeyEvent& key, std::string_view focusClass, int32_t now);

}  // namespace vexbane::hooks
