// frmTrayForm's Messenger-service control: the two commands and the two steps of Form_Load.
#include "frmTrayForm.h"

#include <shellapi.h>

#include "core/settings.h"

namespace vexbane::tray {
namespace {

constexpr DWORD kPauseBeforeNetMs = 10;

}  // namespace

void frmTrayForm::ShowMessengerChecks(bool block) noexcept {
  SetChecked(TrayItem::mnuBlockMessenger, block);
  SetChecked(TrayItem::mnuAllowMessenger, !block);
}

void frmTrayForm::RunNetCommand(const char* parameters) noexcept {
  ::Sleep(kPauseBeforeNetMs);
  try {
    const std::string net = m_module.strSystemDir + "\\NET.EXE";
    ::ShellExecuteA(hwnd(), "open", net.c_str(), parameters, nullptr, SW_HIDE);
  } catch (...) {
  }
}

void frmTrayForm::mnuBlockMessenger_Click() noexcept {
  if (!objRegistry) return;
  const bool stored = objRegistry->SetRegStringValue(settings::kBlockMessenger, "1");
  ShowMessengerChecks(MessengerBlockChecked(objRegistry->GetRegStringValue(settings::kBlockMessenger)));
  if (!stored) SettingNotStored();
  objRegistry->SetRegDWordValue(settings::kMessengerKeyPath, settings::kMessengerStart, settings::kStartOnDemand);
  RunNetCommand("STOP Messenger");
}

void frmTrayForm::mnuAllowMessenger_Click() noexcept {
  if (!objRegistry) return;
  const bool stored = objRegistry->SetRegStringValue(settings::kBlockMessenger, "0");
  ShowMessengerChecks(MessengerBlockChecked(objRegistry->GetRegStringValue(settings::kBlockMessenger)));
  if (!stored) SettingNotStored();
  objRegistry->SetRegDWordValue(settings::kMessengerKeyPath, settings::kMessengerStart, settings::kStartAutomatic);
  RunNetCommand("START Messenger");
}

void frmTrayForm::MessengerStepAtLoad() noexcept {
  if (!objRegistry) return;
  const MessengerLoad load = MessengerAtLoad(objRegistry->GetRegStringValue(settings::kBlockMessenger));
  intBlockMessenger = load.intBlockMessenger;
  // Where the service does not exist its items were never added to the menu.
  if (m_module.intWinNT != 1) return;
  ShowMessengerChecks(load.checkBlock);
  if (load.writeOne) objRegistry->SetRegStringValue(settings::kBlockMessenger, "1");
}

void frmTrayForm::MessengerStepAfterLoad() noexcept {
  if (!objRegistry) return;
  if (intBlockMessenger != 1 && intBlockMessenger != kMessengerFirstRun) return;
  const int32_t start = objRegistry->GetRegDWordValue(settings::kMessengerKeyPath, settings::kMessengerStart);
  const bool run = MessengerBlockRunsAfterLoad(intBlockMessenger, start);
  if (intBlockMessenger == kMessengerFirstRun) intBlockMessenger = 1;
  if (run) mnuBlockMessenger_Click();
}

}  // namespace vexbane::tray
