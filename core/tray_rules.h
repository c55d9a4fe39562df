// The tray program's decision rules: start-up level, the "Popup"/"PopupSave" protocol, what the
// menu shows for a stored setting, the Messenger start-up rule, the blink and the exit check.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vexbane::tray {

// ---- Start-up ---------------------------------------------------------------------------

struct StartupLevel {
  int16_t intPopupLevel;
  bool writeDefault;  // "Popup" = "2" is written back
};

// "Popup" as read at start-up: a text that does not convert gives 0 and is left in the setting;
// a level above 4 becomes 2 and is written back; a negative level is kept.
StartupLevel DecideStartupLevel(const std::string& popupText);

// Twips per pixel from the display's dots per inch (1440 twips to the inch); 15 at 96 DPI.
double TwipsPerPixel(int dotsPerInch);

struct ToolWindowPosition {
  int32_t lngFormLeft;
  int32_t lngFormTop;
};

// 20 % of the screen width and 30 % of its height, in twips, multiplied first, rounded half to even.
ToolWindowPosition DefaultToolWindowPosition(int widthPixels, int heightPixels, double twipsPerPixelX,
                                             double twipsPerPixelY);

// A size in twips on a screen of this many twips per pixel, rounded to the nearest pixel.
int TwipsToPixels(int32_t twips, double twipsPerPixel);

// ---- Blocking level and its display -----------------------------------------------------

enum class IconRole : uint8_t { Blocking, Allowing };

struct LevelDisplay {
  bool blnBlocking;
  IconRole icon;
  std::optional<int16_t> checkedLevel;  // none: no level item checked
};

// What the tray shows for a level: 1..4 blocking with its item checked; 0 allowing with
// "Allow Popup" checked; anything else checks nothing and keeps the blocking icon.
LevelDisplay DisplayForLevel(int16_t level);

// The same for the text that "Popup" now holds (a text that does not convert counts as 0):
// after every command the display follows what the setting really holds, so a write that
// failed never shows as done.
LevelDisplay DisplayForStoredPopup(const std::string& popupText);

struct SettingWrite {
  std::string name;
  std::string text;
  bool operator==(const SettingWrite& other) const { return name == other.name && text == other.text; }
};

// "Allow Popup" and the switch-off click: the level in force goes to "PopupSave" unless it is
// already "0", then "Popup" = "0".
std::vector<SettingWrite> PlanSwitchOff(const std::string& popupText);
// The switch-on click: "PopupSave" goes to "Popup" as it stands; a text other than "1".."4" is
// then overwritten with "2".
std::vector<SettingWrite> PlanSwitchOn(const std::string& popupSaveText);
// A level command 1..4 writes "Popup" only.
std::vector<SettingWrite> PlanSetLevel(int16_t level);

// ---- Sound ------------------------------------------------------------------------------

enum class SoundItem : uint8_t { WaveSound, InternalSound, NoSound };

// 1 internal sound, 2 none, anything else (a failed conversion included) the wave file.
SoundItem SoundItemFromText(const std::string& soundText);
// The text a sound command writes: "0", "1", "2".
std::string SoundText(SoundItem item);

// ---- Messenger --------------------------------------------------------------------------

// intBlockMessenger's mark for a setting that was neither 0 nor 1: treat as block at first load.
inline constexpr int16_t kMessengerFirstRun = 9;

struct MessengerLoad {
  int16_t intBlockMessenger;
  bool checkBlock;  // "Block Messenger Popup" checked, else "Allow Messenger Popup"
  bool writeOne;    // "BlockMessenger" = "1" is written
};

// The step at load: 0 allow, 1 block, any other number block with "1" written back; a text that
// does not convert counts as 0.
MessengerLoad MessengerAtLoad(const std::string& blockMessengerText);

// The step after load: whether the Block Messenger command runs. A "Start" of 3 (on demand) or
// 4 (disabled) already keeps the service's pop-ups away; the command would turn 4 into 3.
bool MessengerBlockRunsAfterLoad(int16_t intBlockMessenger, int32_t messengerStart);

// Check marks after a Messenger command, from the "BlockMessenger" text that now stands.
bool MessengerBlockChecked(const std::string& blockMessengerText);

// ---- Signals ----------------------------------------------------------------------------

inline constexpr int kBlinkCycles = 4;
inline constexpr int kBlinkStepMs = 150;
inline constexpr int32_t kBlinkQuietMs = 1000;

// Whether a blocked-window signal blinks: always when no blink happened yet (lngLastBlink 0),
// otherwise only when at least 1000 ms have passed since the last blink ended, midnight included.
bool ShouldBlink(int32_t nowTimeOfDay, int32_t lngLastBlink);

inline constexpr int kExitLooks = 11;
inline constexpr int kExitLookPauseMs = 100;

// The exit check: looks for a browser frame up to 11 times, pausing 100 ms after each look that
// finds one. Returns true when a look found none (the tray program ends).
template <typename Look, typename Pause>
bool RunExitCheck(Look browserFrameExists, Pause pauseMs) {
  for (int i = 0; i < kExitLooks; ++i) {
    if (!browserFrameExists()) return true;
    pauseMs(kExitLookPauseMs);
  }
  return false;
}

// ---- The icon's notification ------------------------------------------------------------

enum class TrayCallbackAction : uint8_t { None, Toggle, ShowMenu };

// The icon's callback carries the mouse message in the low word of lParam: a left-button
// release toggles blocking, a right-button release opens the menu, everything else is ignored.
TrayCallbackAction DecodeTrayCallback(uint64_t lParam);

}  // namespace vexbane::tray
