// Packing of the tray form's diagnostic state.
#include "tray_state.h"

namespace vexbane::tray {
namespace {

constexpr int kSoundShift = 5;
constexpr int kBlockMessengerBit = 8;
constexpr int kAllowMessengerBit = 9;
constexpr int kMessengerShownBit = 10;
constexpr int kBlockingBit = 11;
constexpr int kAllowingIconBit = 12;
constexpr int kIconInTrayBit = 13;
constexpr int kBlinkShift = 16;

uint32_t Bit(bool on, int bit) { return on ? (uint32_t{1} << bit) : 0; }
bool Has(uint32_t packed, int bit) { return (packed >> bit) & 1; }

}  // namespace

bool TrayState::operator==(const TrayState& o) const {
  for (int i = 0; i < 5; ++i)
    if (levelChecked[i] != o.levelChecked[i]) return false;
  for (int i = 0; i < 3; ++i)
    if (soundChecked[i] != o.soundChecked[i]) return false;
  return blockMessengerChecked == o.blockMessengerChecked && allowMessengerChecked == o.allowMessengerChecked &&
         messengerItemsShown == o.messengerItemsShown && blnBlocking == o.blnBlocking && icon == o.icon &&
         iconInTray == o.iconInTray && blinks == o.blinks;
}

uint32_t PackTrayState(const TrayState& s) {
  uint32_t packed = 0;
  for (int i = 0; i < 5; ++i) packed |= Bit(s.levelChecked[i], i);
  for (int i = 0; i < 3; ++i) packed |= Bit(s.soundChecked[i], kSoundShift + i);
  packed |= Bit(s.blockMessengerChecked, kBlockMessengerBit);
  packed |= Bit(s.allowMessengerChecked, kAllowMessengerBit);
  packed |= Bit(s.messengerItemsShown, kMessengerShownBit);
  packed |= Bit(s.blnBlocking, kBlockingBit);
  packed |= Bit(s.icon == IconRole::Allowing, kAllowingIconBit);
  packed |= Bit(s.iconInTray, kIconInTrayBit);
  packed |= uint32_t{s.blinks} << kBlinkShift;
  return packed;
}

TrayState UnpackTrayState(uint32_t packed) {
  TrayState s;
  for (int i = 0; i < 5; ++i) s.levelChecked[i] = Has(packed, i);
  for (int i = 0; i < 3; ++i) s.soundChecked[i] = Has(packed, kSoundShift + i);
  s.blockMessengerChecked = Has(packed, kBlockMessengerBit);
  s.allowMessengerChecked = Has(packed, kAllowMessengerBit);
  s.messengerItemsShown = Has(packed, kMessengerShownBit);
  s.blnBlocking = Has(packed, kBlockingBit);
  s.icon = Has(packed, kAllowingIconBit) ? IconRole::Allowing : IconRole::Blocking;
  s.iconInTray = Has(packed, kIconInTrayBit);
  s.blinks = static_cast<uint8_t>((packed >> kBlinkShift) & 0xFF);
  return s;
}

}  // namespace vexbane::tray
