// Keyboard navigation for the modeless editors.
#include "EditorKeyboard.h"

#include <cstring>

#include "frmPopupAdvanced.h"
#include "frmPopupCookie.h"
#include "frmRecentBlocked.h"
#include "win/window.h"

namespace vexbane::tray {

EditorKeyboard::EditorKeyboard() noexcept
    : m_hook(::SetWindowsHookExA(WH_GETMESSAGE, &EditorKeyboard::GetMessageProc, nullptr, ::GetCurrentThreadId())) {}

bool IsEditorForm(HWND window) noexcept {
  char name[64] = {};
  if (!window || !::GetClassNameA(window, name, sizeof name)) return false;
  return std::strcmp(name, frmPopupAdvanced::kClassName) == 0 ||
         std::strcmp(name, frmPopupAdvanced::kBlockedHostsClassName) == 0 ||
         std::strcmp(name, frmPopupCookie::kClassName) == 0 || std::strcmp(name, frmRecentBlocked::kClassName) == 0;
}

LRESULT CALLBACK EditorKeyboard::GetMessageProc(int code, WPARAM wParam, LPARAM lParam) noexcept {
  auto* msg = reinterpret_cast<MSG*>(lParam);
  if (code == HC_ACTION && wParam == PM_REMOVE && msg->hwnd && msg->message >= WM_KEYFIRST &&
      msg->message <= WM_KEYLAST) {
    HWND form = win::RootWindow(msg->hwnd);
    if (IsEditorForm(form) && ::IsDialogMessageA(form, msg)) {
      msg->message = WM_NULL;  // handled: the program's own loop dispatches nothing
      msg->wParam = 0;
      msg->lParam = 0;
    }
  }
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace vexbane::tray
