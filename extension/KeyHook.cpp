// The WH_KEYBOARD hook procedure of the browser thread.
#include "KeyHook.h"

#include "ModVexbaneIE.h"
#include "ThreadState.h"
#include "core/hooks_keys.h"
#include "core/hooks_messages.h"

namespace vexbane::ext {
namespace {

// The window the key goes to: this thread's focus, as the mouse hook names the window clicked.
std::string FocusClassName() {
  char buffer[250];
  const HWND focus = ::GetFocus();
  const int n = focus ? ::GetClassNameA(focus, buffer, sizeof buffer) : 0;
  return hooks::MouseClassName(std::string_view(buffer, n > 0 ? static_cast<size_t>(n) : 0));
}

void RecordKey(ThreadState& st, int nCode, WPARAM wParam, LPARAM lParam) {
  hooks::KeyEvent key;
  key.vk = static_cast<uint32_t>(wParam);
  const auto flags = static_cast<uint32_t>(lParam);
  key.down = (flags & 0x80000000u) == 0;                // transition state: 1 while the key goes up
  key.repeat = key.down && (flags & 0x40000000u) != 0;  // previous state: it was down already
  key.removed = (nCode & 0xFFFF) == HC_ACTION;          // HC_NOREMOVE: a peek that leaves it queued
  // Context code: 1 whenever Alt is down with the key (a WM_SYSKEY message); 0 with Alt down
  // only when no window has the focus, and then no page has it either.
  key.altHeld = (flags & 0x20000000u) != 0;
  // Every other key only updates what the hook remembers, from the message alone: a typed
  // letter costs no more than a mouse move. The system is asked only for a key that may count.
  const bool mayCount = key.removed && ((key.vk == hooks::kVkReturn && key.down && !key.repeat) ||
                                        (key.vk == hooks::kVkSpace && !key.down));
  if (!mayCount) {
    hooks::ClickTimes unused;
    hooks::OnKey(unused, st.keyMemory, key, std::string_view(), 0);
    return;
  }
  hooks::ClickTimes times{st.lngClickTime, st.lngButtonUpTime};
  hooks::OnKey(times, st.keyMemory, key, FocusClassName(), TimeOfDayMs());
  st.lngClickTime = times.lngClickTime;
  st.lngButtonUpTime = times.lngButtonUpTime;
}

}  // namespace

LRESULT CALLBACK KeyHookProc(int nCode, WPARAM wParam, LPARAM lParam) noexcept {
  ThreadState* st = CurrentThreadState();
  if (!st) return ::CallNextHookEx(nullptr, nCode, wParam, lParam);
  if (!hooks::IsNegativeHookCode(nCode)) {
    try {
      RecordKey(*st, nCode, wParam, lParam);
    } catch (...) {
    }
  }
  return ::CallNextHookEx(st->lngKeyHook.get(), nCode, wParam, lParam);
}

}  // namespace vexbane::ext
