// Ending the tray program and running regsvr32, for setup and the uninstaller.
#include "SetupActions.h"

#include "SetupProduct.h"
#include "win/run_program.h"

namespace vexbane::setup {

void EndTrayProgram() noexcept {
  HWND form = ::FindWindowA(nullptr, kTrayFormCaption);
  if (!form) return;
  HWND button = ::FindWindowExA(form, nullptr, nullptr, kTrayExitButton);
  DWORD_PTR answer = 0;
  if (button)
    ::SendMessageTimeoutA(button, BM_CLICK, 0, 0, SMTO_NORMAL, 3000, &answer);
  else
    ::SendMessageTimeoutA(form, WM_CLOSE, 0, 0, SMTO_NORMAL, 3000, &answer);
  for (int wait = 0; wait < 30 && ::IsWindow(form); ++wait) ::Sleep(100);
}

DWORD RunRegsvr32(const std::string& file, bool unregister) noexcept {
  std::string line = "\"" + win::SystemFile("regsvr32.exe") + "\" /s " + (unregister ? "/u " : "") + "\"" + file + "\"";
  DWORD exitCode = 0;
  DWORD rc = win::RunAndWait(line, exitCode);
  if (rc != ERROR_SUCCESS) return rc;
  return exitCode == 0 ? ERROR_SUCCESS : ERROR_DLL_INIT_FAILED;
}

}  // namespace vexbane::setup
