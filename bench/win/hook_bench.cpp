// (a) The message hook per ordinary message, against a bare pass-through WH_GETMESSAGE hook.
#include "Hooks.h"
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
}

}  // namespace vexbane::bench
