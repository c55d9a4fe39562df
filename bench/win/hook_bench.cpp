// (a) The message hook per ordinary message, against a bare pass-through WH_GETMESSAGE hook.
#include "Hooks.h"
#include "KeyHook.h"
#include "MouseHook.h"
#include "ThreadState.h"
#include "bench_table.h"

namespace vexbane::bench {
namespace {

constexpr int kMessages = 2000;
HHOOK g_bare = nullptr;

LRESULT CALLBACK BareProc(int code, WPARAM wParam, LPARAM lParam) noexcept {
  return ::CallNextHookEx(g_bare, code, wParam, lParam);
}

// Posts ordinary messages to this thread and takes them: the hook sees each one once.
void PostAndTake() {
  for (int i = 0; i < kMessages; ++i) ::PostThreadMessageA(::GetCurrentThreadId(), WM_APP + 7, i, 0);
  MSG msg;
  while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
  }
}

// The keyboard hook's work per key beside the mouse hook's per mouse message, each procedure
// called as the system calls it (HC_ACTION) on this thread with its hooks installed: the typed
// letter against a mouse move (the messages each sees most), Enter on the page against a press
// on the page (both read the window's class name and the clock).
void KeyHookRows(std::vector<Row>& rows) {
  ext::ThreadState& st = *ext::CurrentThreadState();
  ext::InstallHooks(st);
  HWND page = ::CreateWindowExA(0, "STATIC", "page", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
  ::SetFocus(page);
  MOUSEHOOKSTRUCT mouse = {};
  mouse.hwnd = page;
  const int ops = 2000;
  auto keys = [&](WPARAM vk) {
    return [&st, vk] {
      for (int i = 0; i < ops; ++i) {
        ext::KeyHookProc(HC_ACTION, vk, 0x00000001);  // down
        ext::KeyHookProc(HC_ACTION, vk, static_cast<LPARAM>(0xC0000001u));  // up
        st.lngClickTime = 0;
      }
    };
  };
  auto mice = [&](WPARAM msg1, WPARAM msg2) {
    return [&st, &mouse, msg1, msg2] {
      for (int i = 0; i < ops; ++i) {
        ext::MouseHookProc(HC_ACTION, msg1, reinterpret_cast<LPARAM>(&mouse));
        ext::MouseHookProc(HC_ACTION, msg2, reinterpret_cast<LPARAM>(&mouse));
        st.lngClickTime = 0;
      }
    };
  };
  const auto letter = keys('A'), enter = keys(VK_RETURN);
  const auto move = mice(WM_MOUSEMOVE, WM_MOUSEMOVE), press = mice(WM_LBUTTONDOWN, WM_LBUTTONUP);
  letter();
  move();
  Pair typed = MeasureByTurns(15, 2 * ops, letter, 2 * ops, move);
  rows.push_back({"key hook, a letter typed (down and up)", "mouse hook, mouse moves", typed, "<= 1.0x"});
  enter();
  press();
  Pair activated = MeasureByTurns(15, 2 * ops, enter, 2 * ops, press);
  rows.push_back({"key hook, Enter on the page (down and up)", "mouse hook, press and release on page",
                  activated, "<= 1.0x"});
  ::DestroyWindow(page);
  ext::ReleaseHooks(st);
}

}  // namespace

void HookFamily(std::vector<Row>& rows) {
  ext::ThreadState& st = *ext::CurrentThreadState();
  auto helper = [&] {
    ext::InstallHooks(st);
    PostAndTake();
    ext::ReleaseHooks(st);
  };
  auto bare = [&] {
    g_bare = ::SetWindowsHookExA(WH_GETMESSAGE, &BareProc, nullptr, ::GetCurrentThreadId());
    PostAndTake();
    ::UnhookWindowsHookEx(g_bare);
    g_bare = nullptr;
  };
  helper();
  bare();
  Pair p = MeasureByTurns(15, kMessages, helper, kMessages, bare);
  rows.push_back({"message hook, ordinary message", "bare WH_GETMESSAGE hook", p, "<= 1.05x"});
  KeyHookRows(rows);
}

}  // namespace vexbane::bench
