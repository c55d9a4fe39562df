// The tray program's decision rules.
#include "tray_rules.h"

#include "settings.h"
#include "text.h"
#include "time_of_day.h"

namespace vexbane::tray {
namespace {

constexpr uint32_t kLeftButtonUp = 0x0202;
constexpr uint32_t kRightButtonUp = 0x0205;

bool IsBlockingLevelText(const std::string& text) {
  return text == "1" || text == "2" || text == "3" || text == "4";
}

}  // namespace

StartupLevel DecideStartupLevel(const std::string& popupText) {
  int16_t level = 0;
  AssignIfConverts(level, popupText);
  if (level > 4) return {2, true};
  return {level, false};
}

double TwipsPerPixel(int dotsPerInch) {
  // A display that reports no density is taken as the common 96 DPI.
  if (dotsPerInch <= 0) return 15.0;
  return 1440.0 / dotsPerInch;
}

ToolWindowPosition DefaultToolWindowPosition(int widthPixels, int heightPixels, double twipsPerPixelX,
                                             double twipsPerPixelY) {
  double widthTwips = widthPixels * twipsPerPixelX;
  double heightTwips = heightPixels * twipsPerPixelY;
  return {static_cast<int32_t>(RoundHalfEven(widthTwips * 20 / 100)),
          static_cast<int32_t>(RoundHalfEven(heightTwips * 30 / 100))};
}

int TwipsToPixels(int32_t twips, double twipsPerPixel) {
  if (twipsPerPixel <= 0) return 0;
  return static_cast<int>(RoundHalfEven(twips / twipsPerPixel));
}

LevelDisplay DisplayForLevel(int16_t level) {
  if (level >= 1 && level <= 4) return {true, IconRole::Blocking, level};
  if (level == 0) return {false, IconRole::Allowing, int16_t{0}};
  return {false, IconRole::Blocking, std::nullopt};
}

LevelDisplay DisplayForStoredPopup(const std::string& popupText) {
  int16_t level = 0;
  AssignIfConverts(level, popupText);
  return DisplayForLevel(level);
}

std::vector<SettingWrite> PlanSwitchOff(const std::string& popupText) {
  std::vector<SettingWrite> writes;
  if (popupText != "0") writes.push_back({settings::kPopupSave, popupText});
  writes.push_back({settings::kPopup, "0"});
  return writes;
}

std::vector<SettingWrite> PlanSwitchOn(const std::string& popupSaveText) {
  std::vector<SettingWrite> writes{{settings::kPopup, popupSaveText}};
  if (!IsBlockingLevelText(popupSaveText)) writes.push_back({settings::kPopup, "2"});
  return writes;
}

std::vector<SettingWrite> PlanSetLevel(int16_t level) {
  return {{settings::kPopup, std::to_string(level)}};
}

SoundItem SoundItemFromText(const std::string& soundText) {
  int16_t sound = 0;
  AssignIfConverts(sound, soundText);
  if (sound == 1) return SoundItem::InternalSound;
  if (sound == 2) return SoundItem::NoSound;
  return SoundItem::WaveSound;
}

std::string SoundText(SoundItem item) {
  switch (item) {
    case SoundItem::InternalSound: return "1";
    case SoundItem::NoSound: return "2";
    case SoundItem::WaveSound: break;
  }
  return "0";
}

MessengerLoad MessengerAtLoad(const std::string& blockMessengerText) {
  int16_t value = 0;
  AssignIfConverts(value, blockMessengerText);
  if (value == 0) return {0, false, false};
  if (value == 1) return {1, true, false};
  return {kMessengerFirstRun, true, true};
}

bool MessengerBlockRunsAfterLoad(int16_t intBlockMessenger, int32_t messengerStart) {
  if (intBlockMessenger != 1 && intBlockMessenger != kMessengerFirstRun) return false;
  if (messengerStart == settings::kStartDisabled) return false;
  // A first-run setting applies the block even when "Start" already reads 3: the service may
  // still be running from before.
  if (intBlockMessenger == kMessengerFirstRun) return true;
  return messengerStart != settings::kStartOnDemand;
}

bool MessengerBlockChecked(const std::string& blockMessengerText) {
  return MessengerAtLoad(blockMessengerText).checkBlock;
}

bool ShouldBlink(int32_t nowTimeOfDay, int32_t lngLastBlink) {
  if (lngLastBlink == 0) return true;
  return ElapsedMs(nowTimeOfDay, lngLastBlink) >= kBlinkQuietMs;
}

TrayCallbackAction DecodeTrayCallback(uint64_t lParam) {
  uint32_t message = static_cast<uint32_t>(lParam & 0xFFFF);
  if (message == kLeftButtonUp) return TrayCallbackAction::Toggle;
  if (message == kRightButtonUp) return TrayCallbackAction::ShowMenu;
  return TrayCallbackAction::None;
}

}  // namespace vexbane::tray
