// Main and CheckWinNT: single instance, the facts the program needs, and the loaded tray form.
#include "TrayMain.h"

#include <windows.h>

#include "core/settings.h"
#include "core/tray_rules.h"
#include "frmTrayForm.h"
#include "win/message_filter.h"
#include "win/unique.h"

namespace vexbane::tray {
namespace {

constexpr char kSystemFolderFallback[] = "C:\\WINNT\\System32";
constexpr DWORD kFolderBufferSize = 1024;

int RunMessageLoop(const frmTrayForm& form) noexcept {
  MSG msg;
  while (!form.Unloaded()) {
    BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
    if (got == 0 || got == -1) break;
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
  return 0;
}

}  // namespace

// Both give an empty text when memory runs out; an empty folder starts and opens nothing.
std::string ProgramFolder() noexcept {
  try {
    char path[MAX_PATH] = {};
    DWORD n = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return {};
    std::string folder(path, n);
    size_t slash = folder.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : folder.substr(0, slash);
  } catch (...) {
    return {};
  }
}

std::string SystemFolder() noexcept {
  try {
    std::string buffer(kFolderBufferSize, ' ');
    UINT n = ::GetSystemDirectoryA(&buffer[0], kFolderBufferSize);
    if (n < 1 || n >= kFolderBufferSize) return kSystemFolderFallback;
    return buffer.substr(0, n);
  } catch (...) {
    return {};
  }
}

void ReadPopupLevel(ModTray& module, const CRegistry& registry) noexcept {
  // The string reader answers "1" for a missing value, so a first run needs its own test.
  if (!registry.ValueExists(settings::kPopup)) registry.SetRegStringValue(settings::kPopup, "2");
  const StartupLevel level = DecideStartupLevel(registry.GetRegStringValue(settings::kPopup));
  module.intPopupLevel = level.intPopupLevel;
  if (level.writeDefault) registry.SetRegStringValue(settings::kPopup, "2");
}

void SetToolWindowPosition(ModTray& module) noexcept {
  HDC screen = ::GetDC(nullptr);
  const int dpiX = screen ? ::GetDeviceCaps(screen, LOGPIXELSX) : 0;
  const int dpiY = screen ? ::GetDeviceCaps(screen, LOGPIXELSY) : 0;
  if (screen) ::ReleaseDC(nullptr, screen);
  const ToolWindowPosition p =
      DefaultToolWindowPosition(::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN),
                                TwipsPerPixel(dpiX), TwipsPerPixel(dpiY));
  module.lngFormLeft = p.lngFormLeft;
  module.lngFormTop = p.lngFormTop;
}

void CheckWinNT() noexcept {
  ModTray& module = Module();
  module.intWinNT = 1;
  OSVERSIONINFOA info = {};
  info.dwOSVersionInfoSize = sizeof info;  // 148
  if (!::GetVersionExA(&info)) return;
  if (info.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS) module.intWinNT = 0;
}

int Main() noexcept {
  // 1. The mutex lives as long as this process: a later copy finds it and leaves untouched.
  win::UniqueHandle instance(::CreateMutexA(nullptr, FALSE, kSingleInstanceMutex));
  if (!instance || ::GetLastError() == ERROR_ALREADY_EXISTS) return 0;

  ModTray& module = Module();
  module.strAppPath = ProgramFolder();      // 2.
  module.strSystemDir = SystemFolder();     // 3.
  {
    CRegistry registry;                     // 4.
    ReadPopupLevel(module, registry);       // 5-7.
  }                                         // 8.
  module.blnCookieFormOpen = false;         // 9.
  module.blnAllowListFormOpen = false;
  SetToolWindowPosition(module);            // 10.
  CheckWinNT();                             // 11.

  // The helper in Protected Mode runs at low integrity: its signals (a click on either button,
  // a block's record) would be dropped on their way to this program. Nothing else is let in.
  static constexpr UINT kHelperSignals[] = {BM_CLICK, WM_COPYDATA};
  win::AllowMessagesFromLowerIntegrity(kHelperSignals, 2);

  frmTrayForm form(module);                 // 12.
  if (!form.Load()) return 1;
  return RunMessageLoop(form);              // 13.
}

}  // namespace vexbane::tray
