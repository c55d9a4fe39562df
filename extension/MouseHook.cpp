// The WH_MOUSE hook procedure of the browser thread.
#include "MouseHook.h"

#include "ModVexbaneIE.h"
#include "ThreadState.h"
#include "core/hooks_click.h"
#include "core/hooks_messages.h"

namespace vexbane::ext {
namespace {

// A name that cannot be read stays empty, which the rules take as a listed class.
std::string ClassNameOf(HWND hwnd) {
  char buffer[250];
  int n = ::GetClassNameA(hwnd, buffer, sizeof buffer);
  return hooks::MouseClassName(std::string_view(buffer, n > 0 ? static_cast<size_t>(n) : 0));
}

void RecordButton(ThreadState& st, WPARAM wParam, LPARAM lParam) {
  if (wParam != WM_LBUTTONDOWN && wParam != WM_LBUTTONUP) return;
  const auto* info = reinterpret_cast<const MOUSEHOOKSTRUCT*>(lParam);
  const std::string name = info ? ClassNameOf(info->hwnd) : std::string();
  hooks::ClickTimes times{st.lngClickTime, st.lngButtonUpTime};
  if (wParam == WM_LBUTTONDOWN) {
    hooks::OnLeftButtonDown(times, name, TimeOfDayMs());
  } else {
    hooks::OnLeftButtonUp(times, name, TimeOfDayMs());
  }
  st.lngClickTime = times.lngClickTime;
  st.lngButtonUpTime = times.lngButtonUpTime;
}

}  // namespace

LRESULT CALLBACK MouseHookProc(int nCode, WPARAM wParam, LPARAM lParam) noexcept {
  ThreadState* st = CurrentThreadState();
  if (!st) return ::CallNextHookEx(nullptr, nCode, wParam, lParam);
  if (!hooks::IsNegativeHookCode(nCode)) {
    try {
      RecordButton(*st, wParam, lParam);
    } catch (...) {
    }
  }
  return ::CallNextHookEx(st->lngMouseHook.get(), nCode, wParam, lParam);
}

}  // namespace vexbane::ext
