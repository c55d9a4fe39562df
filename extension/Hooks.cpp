// The browser thread's hooks: installation and removal.
#include "Hooks.h"

#include "ModVexbaneIE.h"

namespace vexbane::ext {
namespace {

volatile LONG g_hookedThreads = 0;

LRESULT CALLBACK MouseHookProc(int nCode, WPARAM wParam, LPARAM lParam) noexcept {
  return ::CallNextHookEx(CurrentThreadState().lngMouseHook.get(), nCode, wParam, lParam);
}

LRESULT CALLBACK MsgHookProc(int nCode, WPARAM wParam, LPARAM lParam) noexcept {
  return ::CallNextHookEx(CurrentThreadState().lngMsgHook.get(), nCode, wParam, lParam);
}

}  // namespace

void InstallHooks(ThreadState& st) noexcept {
  ++st.hookUsers;
  if (st.lngMouseHook || st.lngMsgHook) return;
  st.lngThreadId = ::GetCurrentThreadId();
  st.lngMouseHook.reset(::SetWindowsHookExA(WH_MOUSE, &MouseHookProc, nullptr, st.lngThreadId));
  st.lngMsgHook.reset(::SetWindowsHookExA(WH_GETMESSAGE, &MsgHookProc, nullptr, st.lngThreadId));
  if (st.lngMouseHook || st.lngMsgHook) ::InterlockedIncrement(&g_hookedThreads);
  st.strDialogList.clear();
  st.intUserMsgCount = 0;
  st.lngDialogMsgTime = st.lngClickTime;
}

void ReleaseHooks(ThreadState& st) noexcept {
  if (st.hookUsers > 0) --st.hookUsers;
  if (st.hookUsers > 0) return;
  bool had = st.lngMouseHook || st.lngMsgHook;
  st.lngMouseHook.reset();
  st.lngMsgHook.reset();
  if (had) ::InterlockedDecrement(&g_hookedThreads);
}

bool AnyHooksInstalled() noexcept { return g_hookedThreads > 0; }

}  // namespace vexbane::ext
