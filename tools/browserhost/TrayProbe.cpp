// The stand-in browser's look at the tray program.
#include "TrayProbe.h"

#include <sstream>

#include "core/tray_state.h"

namespace vexbane::host {
namespace {

// The tray program's names, as another process sees them.
constexpr char kTrayFormClass[] = "VexbaneTrayForm";
constexpr UINT kTrayCallbackMessage = 0x200;

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

bool PostTrayIconClick(HWND form) noexcept {
  return form && ::PostMessageA(form, kTrayCallbackMessage, 0, WM_LBUTTONUP);
}

bool PostTrayCommand(HWND form, uint16_t id) noexcept {
  return form && ::PostMessageA(form, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

}  // namespace vexbane::host
