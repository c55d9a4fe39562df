// frmTrayForm's menu commands: the blocking levels, the left-click toggle, the sound and help.
#include "frmTrayForm.h"

#include <shellapi.h>

#include "core/settings.h"
#include "frmMessage.h"

namespace vexbane::tray {
namespace {
constexpr char kSettingsRefusedTitle[] = "Vexbane settings";
constexpr char kSettingsRefused[] =
    "This account may not change Vexbane's settings, so your choice was not stored. An administrator can "
    "reinstall Vexbane to allow every account to change them.";
}  // namespace

void frmTrayForm::SettingNotStored() noexcept {
  // Once a run: the menu's check marks go on showing what is stored at every later choice.
  if (m_toldSettingNotStored) return;
  m_toldSettingNotStored = true;
  ShowMessageOver(hwnd(), kSettingsRefusedTitle, kSettingsRefused, "Ok");
}

bool frmTrayForm::WriteAll(const std::vector<SettingWrite>& writes) noexcept {
  if (!objRegistry) return false;
  bool stored = true;
  for (const SettingWrite& w : writes) stored = objRegistry->SetRegStringValue(w.name, w.text) && stored;
  return stored;
}

void frmTrayForm::ShowLevel(const LevelDisplay& display) noexcept {
  static constexpr int kTopDown[] = {4, 3, 2, 1, 0};
  for (int level : kTopDown) SetChecked(LevelItem(level), display.checkedLevel == level);
  blnBlocking = display.blnBlocking;
  ShowIcon(display.icon);
}

void frmTrayForm::ShowStoredLevel() noexcept {
  // The menu and the icon say what the helper will apply: the setting as it now reads, so a
  // write that did not take is not shown as done.
  if (!objRegistry) return;
  ShowLevel(DisplayForStoredPopup(objRegistry->GetRegStringValue(settings::kPopup)));
  // The foreground is taken only for the menu (ShowContextMenu); a command or the left click
  // leaves it with the window the user works in.
  m_iconInTray = NotifyIcon(NIM_MODIFY);
}

void frmTrayForm::SetBlockLevel(int16_t level) noexcept {
  const bool stored = WriteAll(PlanSetLevel(level));
  ShowStoredLevel();
  if (!stored) SettingNotStored();
}

void frmTrayForm::mnuAllowPopup_Click() noexcept {
  if (!objRegistry) return;
  const bool stored = WriteAll(PlanSwitchOff(objRegistry->GetRegStringValue(settings::kPopup)));
  ShowStoredLevel();
  if (!stored) SettingNotStored();
}

void frmTrayForm::ToggleBlocking() noexcept {
  if (!objRegistry) return;
  const bool stored = blnBlocking ? WriteAll(PlanSwitchOff(objRegistry->GetRegStringValue(settings::kPopup)))
                                  : WriteAll(PlanSwitchOn(objRegistry->GetRegStringValue(settings::kPopupSave)));
  ShowStoredLevel();
  if (!stored) SettingNotStored();
}

void frmTrayForm::ShowSound(SoundItem item) noexcept {
  SetChecked(TrayItem::mnuWaveSound, item == SoundItem::WaveSound);
  SetChecked(TrayItem::mnuInternalSound, item == SoundItem::InternalSound);
  SetChecked(TrayItem::mnuNoSound, item == SoundItem::NoSound);
}

void frmTrayForm::SetSound(SoundItem item) noexcept {
  if (!objRegistry) return;
  const bool stored = objRegistry->SetRegStringValue(settings::kSound, SoundText(item));
  ShowSound(SoundItemFromText(objRegistry->GetRegStringValue(settings::kSound)));
  if (!stored) SettingNotStored();
}

void frmTrayForm::mnuHelp_Click() noexcept {
  // A missing help file or no viewer gives nothing visible, as the user expects of a tray menu.
  try {
    const std::string file = m_module.strAppPath + "\\" + settings::kHelpFile;
    ::ShellExecuteA(hwnd(), "open", file.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  } catch (...) {
  }
}

}  // namespace vexbane::tray
