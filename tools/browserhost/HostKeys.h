// Key names of the stand-in's scenario commands ("enter", "space", "a", "alt+enter") as virtual keys.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace vexbane::host {

// A key with the modifiers held around it, in the order they go down.
struct KeyChord {
  std::vector<WORD> modifiers;
  WORD vk = 0;
};

// "enter", "space", "tab", "escape", "backspace", "left", "right", "up", "down", "f1".."f12", a
// single letter or digit, each after any of "shift+", "ctrl+", "alt+". False for any other name.
bool KeyChordFromName(const std::string& name, KeyChord& chord);

}  // namespace vexbane::host
