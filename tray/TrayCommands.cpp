// frmTrayForm's menu commands: the blocking levels, the left-click toggle, the sound and help.
#include "frmTrayForm.h"

#include <shellapi.h>

#include "core/settings.h"

namespace vexbane::tray {

void frmTrayForm::WriteAll(const std::vector<SettingWrite>& writes) noexcept {
  if (!objRegistry) return;
  for (const SettingWrite& w : writes) objRegistry->SetRegStringValue(w.name, w.text);
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
  WriteAll(PlanSetLevel(level));
  ShowStoredLevel();
}

void frmTrayForm::mnuAllowPopup_Click() noexcept {
  if (!objRegistry) return;
  WriteAll(PlanSwitchOff(objRegistry->GetRegStringValue(settings::kPopup)));
  ShowStoredLevel();
}

void frmTrayForm::ToggleBlocking() noexcept {
  if (!objRegistry) return;
  if (blnBlocking)
    WriteAll(PlanSwitchOff(objRegistry->GetRegStringValue(settings::kPopup)));
  else
    WriteAll(PlanSwitchOn(objRegistry->GetRegStringValue(settings::kPopupSave)));
  ShowStoredLevel();
}

void frmTrayForm::ShowSound(SoundItem item) noexcept {
  SetChecked(TrayItem::mnuWaveSound, item == SoundItem::WaveSound);
  SetChecked(TrayItem::mnuInternalSound, item == SoundItem::InternalSound);
  SetChecked(TrayItem::mnuNoSound, item == SoundItem::NoSound);
}

void frmTrayForm::SetSound(SoundItem item) noexcept {
  if (!objRegistry) return;
  objRegistry->SetRegStringValue(settings::kSound, SoundText(item));
  ShowSound(SoundItemFromText(objRegistry->GetRegStringValue(settings::kSound)));
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
