// The stand-in browser's look at the tray program.
#include "TrayProbe.h"

#include <tlhelp32.h>

#include <cstring>
#include <sstream>

#include "win/unique.h"

#include "core/tray_menu.h"
#include "core/tray_state.h"

namespace vexbane::host {
namespace {

// The tray program's names, as another process sees them.
constexpr char kTrayFormClass[] = "VexbaneTrayForm";
constexpr UINT kTrayCallbackMessage = 0x200;
constexpr char kRecentClass[] = "VexbaneRecentBlocked";
// Control ids of the "Recently Blocked" window.
constexpr int kRecentCounts = 13;
constexpr int kRecentList = 18;
constexpr int kRecentStatus = 19;
constexpr int kRecentAllowSite = 20;
constexpr int kRecentOpen = 24;
constexpr int kRecentBlockHost = 25;

// Wine gives a list box's text to another process as UTF-16 whichever variant asks; the wide
// message reads alike everywhere.
std::string ListItem(HWND list, int index) {
  LRESULT length = ::SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length == LB_ERR || length < 0 || length > 4096) return std::string();
  std::wstring wide(static_cast<size_t>(length) + 1, L'\0');
  ::SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(wide.data()));
  std::string narrow(wide.size() * 2 + 1, '\0');
  int n = ::WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, narrow.data(), static_cast<int>(narrow.size()), nullptr,
                                nullptr);
  narrow.resize(n > 0 ? static_cast<size_t>(n - 1) : 0);
  return narrow;
}

std::string Caption(HWND window) {
  char text[512] = {};
  ::GetWindowTextA(window, text, sizeof text);
  return text;
}

void PumpFor(DWORD ms) {
  const DWORD start = ::GetTickCount();
  do {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageA(&msg);
    }
    ::Sleep(10);
  } while (::GetTickCount() - start < ms);
}

const char* YesNo(bool on) { return on ? "yes" : "no"; }

std::string CheckedLevels(const tray::TrayState& s) {
  std::string levels;
  for (int i = 0; i < 5; ++i)
    if (s.levelChecked[i]) levels += (levels.empty() ? "" : ",") + std::to_string(i);
  return levels.empty() ? "none" : levels;
}

std::string CheckedSounds(const tray::TrayState& s) {
  static const char* const kNames[3] = {"wave", "internal", "none"};
  std::string sounds;
  for (int i = 0; i < 3; ++i)
    if (s.soundChecked[i]) sounds += (sounds.empty() ? "" : ",") + std::string(kNames[i]);
  return sounds.empty() ? "unchecked" : sounds;
}

}  // namespace

HWND FindTrayForm() noexcept { return ::FindWindowA(kTrayFormClass, nullptr); }

int CountTrayProcesses() noexcept {
  // A snapshot fails as a file does, with INVALID_HANDLE_VALUE.
  win::UniqueFile snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) return 0;
  PROCESSENTRY32 entry = {};
  entry.dwSize = sizeof entry;
  int count = 0;
  for (BOOL more = ::Process32First(snapshot.get(), &entry); more; more = ::Process32Next(snapshot.get(), &entry)) {
    // The name may come with or without its folder.
    const char* name = std::strrchr(entry.szExeFile, '\\');
    if (::lstrcmpiA(name ? name + 1 : entry.szExeFile, "VexbaneTray.exe") == 0) ++count;
  }
  return count;
}

int WaitForOneTrayProcess(DWORD timeoutMs) noexcept {
  const DWORD start = ::GetTickCount();
  int count;
  while ((count = CountTrayProcesses()) > 1 && ::GetTickCount() - start < timeoutMs) PumpFor(100);
  return count;
}

std::optional<uint32_t> QueryTrayState(HWND form, DWORD timeoutMs) noexcept {
  const UINT stateMessage = ::RegisterWindowMessageA(tray::kTrayStateMessage);
  if (!form || !stateMessage) return std::nullopt;
  // A message-only window to receive the answer; no class of our own is needed for that.
  HWND reply = ::CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  if (!reply) return std::nullopt;
  std::optional<uint32_t> answer;
  if (::PostMessageA(form, stateMessage, 0, reinterpret_cast<LPARAM>(reply))) {
    const DWORD start = ::GetTickCount();
    while (!answer) {
      MSG msg;
      while (!answer && ::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.hwnd == reply && msg.message == stateMessage) {
          answer = static_cast<uint32_t>(msg.wParam);
        } else {
          ::TranslateMessage(&msg);
          ::DispatchMessageA(&msg);
        }
      }
      const DWORD spent = ::GetTickCount() - start;
      if (answer || spent >= timeoutMs) break;
      ::MsgWaitForMultipleObjects(0, nullptr, FALSE, timeoutMs - spent, QS_ALLINPUT);
    }
  }
  ::DestroyWindow(reply);
  return answer;
}

std::string DescribeTrayState(uint32_t packed) {
  const tray::TrayState s = tray::UnpackTrayState(packed);
  std::ostringstream line;
  line << "level " << CheckedLevels(s) << " sound " << CheckedSounds(s) << " blocking " << YesNo(s.blnBlocking)
       << " icon " << (s.icon == tray::IconRole::Allowing ? "allowing" : "blocking") << " in-tray "
       << YesNo(s.iconInTray) << " blinks " << static_cast<int>(s.blinks);
  return line.str();
}

HWND OpenRecentBlocked(HWND form, DWORD timeoutMs) noexcept {
  HWND window = ::FindWindowA(kRecentClass, nullptr);
  if (window || !form) return window;
  if (!PostTrayCommand(form, tray::TrayMenuItemOf(tray::TrayItem::mnuRecentBlocked).id)) return nullptr;
  const DWORD start = ::GetTickCount();
  while (!(window = ::FindWindowA(kRecentClass, nullptr)) && ::GetTickCount() - start < timeoutMs) PumpFor(50);
  // The window exists before its rows and counters are filled: wait until the tray has
  // handled the command to the end.
  if (window) QueryTrayState(form, timeoutMs);
  return window;
}

RecentBlockedView ReadRecentBlocked(HWND window) {
  RecentBlockedView view;
  view.counts = Caption(::GetDlgItem(window, kRecentCounts));
  view.status = Caption(::GetDlgItem(window, kRecentStatus));
  HWND list = ::GetDlgItem(window, kRecentList);
  LRESULT count = ::SendMessageA(list, LB_GETCOUNT, 0, 0);
  for (int i = 0; i < count; ++i) view.rows.push_back(ListItem(list, i));
  return view;
}

bool AllowSiteOfRow(HWND window, int row) noexcept {
  HWND list = ::GetDlgItem(window, kRecentList);
  if (row < 1 || ::SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(row - 1), 0) == LB_ERR) return false;
  DWORD_PTR ignored = 0;
  return ::SendMessageTimeoutA(::GetDlgItem(window, kRecentAllowSite), BM_CLICK, 0, 0, SMTO_NORMAL, 5000,
                               &ignored) != 0;
}

namespace {

// The selection and the list's notice to its window, as a click on the row gives them; then the
// button, pressed as a click does.
bool PressForRow(HWND window, int row, int button) noexcept {
  HWND list = ::GetDlgItem(window, kRecentList);
  if (row < 1 || ::SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(row - 1), 0) == LB_ERR) return false;
  DWORD_PTR ignored = 0;
  ::SendMessageTimeoutA(window, WM_COMMAND, MAKEWPARAM(kRecentList, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list),
                        SMTO_NORMAL, 5000, &ignored);
  if (!::IsWindowEnabled(::GetDlgItem(window, button))) return false;
  return ::SendMessageTimeoutA(::GetDlgItem(window, button), BM_CLICK, 0, 0, SMTO_NORMAL, 5000, &ignored) != 0;
}

}  // namespace

bool OpenRow(HWND window, int row) noexcept { return PressForRow(window, row, kRecentOpen); }

bool BlockHostOfRow(HWND window, int row) noexcept { return PressForRow(window, row, kRecentBlockHost); }

bool PostTrayIconClick(HWND form) noexcept {
  return form && ::PostMessageA(form, kTrayCallbackMessage, 0, WM_LBUTTONUP);
}

bool PostTrayIconMenu(HWND form) noexcept {
  return form && ::PostMessageA(form, kTrayCallbackMessage, 0, WM_RBUTTONUP);
}

bool PostTrayCommand(HWND form, uint16_t id) noexcept {
  return form && ::PostMessageA(form, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

}  // namespace vexbane::host
