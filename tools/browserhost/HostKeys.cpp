// Key names of the scenario commands.
#include "HostKeys.h"

#include <cctype>
#include <cstdlib>
#include <cstring>

namespace vexbane::host {
namespace {

bool KeyFromName(const std::string& name, WORD& vk) {
  static const struct {
    const char* name;
    WORD vk;
  } named[] = {{"enter", VK_RETURN}, {"space", VK_SPACE}, {"tab", VK_TAB},   {"escape", VK_ESCAPE},
               {"backspace", VK_BACK}, {"left", VK_LEFT}, {"right", VK_RIGHT}, {"up", VK_UP},
               {"down", VK_DOWN}};
  for (const auto& n : named)
    if (name == n.name) {
      vk = n.vk;
      return true;
    }
  if (name.size() == 1 && std::isalnum(static_cast<unsigned char>(name[0]))) {
    vk = static_cast<WORD>(std::toupper(static_cast<unsigned char>(name[0])));
    return true;
  }
  if (name.size() >= 2 && name[0] == 'f' && std::isdigit(static_cast<unsigned char>(name[1]))) {
    const int n = std::atoi(name.c_str() + 1);
    if (n < 1 || n > 12) return false;
    vk = static_cast<WORD>(VK_F1 + n - 1);
    return true;
  }
  return false;
}

}  // namespace

bool KeyChordFromName(const std::string& name, KeyChord& chord) {
  chord = KeyChord{};
  std::string rest = name;
  for (;;) {
    const size_t plus = rest.find('+');
    if (plus == std::string::npos || plus + 1 == rest.size()) break;
    const std::string modifier = rest.substr(0, plus);
    if (modifier == "shift") chord.modifiers.push_back(VK_SHIFT);
    else if (modifier == "ctrl") chord.modifiers.push_back(VK_CONTROL);
    else if (modifier == "alt") chord.modifiers.push_back(VK_MENU);
    else return false;
    rest = rest.substr(plus + 1);
  }
  return KeyFromName(rest, chord.vk);
}

}  // namespace vexbane::host
