// One run of setup: the install and what to say of it.
#include "SetupJob.h"

#include <windows.h>

#include "SetupExitCodes.h"
#include "SetupProduct.h"
#include "core/settings.h"
#include "win/registry.h"

namespace vexbane::setup {

void SetupJob::Install(SetupProgress* progress) {
  m_steps = MakeInstallSteps(m_choice, m_files, reinterpret_cast<const unsigned char*>(m_self.data()), m_programSize);
  m_result = RunSetupSteps(m_steps, progress);
  if (!m_result.done) m_failedStep = m_steps[m_result.failedStep]->Name();
  if (m_result.done && m_result.warning) m_warningStep = m_steps[m_result.warningStep]->Name();
}

int SetupJob::ExitCode() const noexcept {
  if (!m_result.done) return kExitFailed;
  return m_result.restartNeeded ? kExitRestartNeeded : kExitDone;
}

std::string SetupJob::Outcome() const {
  if (!m_result.done)
    return "Setup could not install Vexbane. This step failed:\r\n\r\n    " + m_failedStep + "\r\n    (" +
           ErrorText(m_result.error) +
           ")\r\n\r\nEverything setup had changed has been put back as it was before. Close the programs "
           "that may hold Vexbane's files, check that you may write to the folder, and run setup again.";
  std::string text = "Vexbane 5.0 has been installed in " + m_choice.folder + ".\r\n\r\n";
  if (m_result.warning)
    text += "One step did not succeed: " + m_warningStep + " (" + ErrorText(m_result.warningError) +
            "). Blocking works; in Protected Mode the browser helper may not be able to keep its count or to start "
            "the tray program without asking. Running setup again as an administrator may mend it.\r\n\r\n";
  if (m_result.restartNeeded)
    return text +
           "An Internet Explorer window was using the earlier browser helper, so Windows must be restarted to "
           "finish. The new helper works in browser windows opened after that restart; until then the "
           "open windows keep the earlier one.";
  return text +
         "The blocker works in every Internet Explorer window you open from now on; its icon appears next "
         "to the clock with the first one. Help and \"Uninstall Vexbane\" are in the Start menu's "
         "\"Vexbane\" folder.";
}

std::string DefaultFolder() {
  std::string bytes;
  std::string programFiles = "C:\\Program Files";
  if (win::QueryValueBytes(HKEY_LOCAL_MACHINE, kCurrentVersionKey, "ProgramFilesDir", MAX_PATH, bytes) == ERROR_SUCCESS) {
    std::string text = bytes.substr(0, bytes.find('\0'));
    while (text.size() > 3 && text.back() == '\\') text.pop_back();
    if (!text.empty()) programFiles = text;
  }
  return programFiles + "\\" + kProduct;
}

int CurrentAutoClean() {
  std::string bytes;
  if (win::QueryValueBytes(HKEY_LOCAL_MACHINE, settings::kProductKeyPath, settings::kAutoClean, settings::kValueBufferSize,
                           bytes) != ERROR_SUCCESS)
    return kDefaultAutoClean;
  // As the programs read it: the text before its NUL, spaces around it dropped; only "0" is off.
  const std::string text = bytes.substr(0, bytes.find('\0'));
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return kDefaultAutoClean;
  return text.compare(first, text.find_last_not_of(' ') + 1 - first, "0") == 0 ? 0 : 1;
}

std::string ErrorText(unsigned long error) {
  char text[256] = {};
  DWORD length = ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, text,
                                  sizeof text, nullptr);
  while (length && (text[length - 1] == '\r' || text[length - 1] == '\n' || text[length - 1] == '.')) --length;
  if (!length) {
    wsprintfA(text, "error %lu", error);
    return text;
  }
  return std::string(text, length);
}

}  // namespace vexbane::setup
