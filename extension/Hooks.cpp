// The browser thread's hooks: one set per thread, installed by the first frame object, removed with the last.
#include "Hooks.h"

#include "KeyHook.h"
#include "MessageHook.h"
#include "MouseHook.h"

namespace vexbane::ext {
namespace {

// Threads of the process that hold a hook set; the module must stay loaded while any does.
volatile LONG g_hookedThreads = 0;

}  // namespace

void InstallHooks(ThreadState& st) noexcept {
  ++st.hookUsers;
  // Every attach starts the dialog watch afresh, whether or not the hooks are already there.
  st.strDialogList.clear();
  st.intUserMsgCount = 0;
  st.lngDialogMsgTime = st.lngClickTime;
  if (st.lngMouseHook || st.lngMsgHook || st.lngKeyHook) return;
  st.lngThreadId = ::GetCurrentThreadId();
  st.lngMouseHook.reset(::SetWindowsHookExA(WH_MOUSE, &MouseHookProc, nullptr, st.lngThreadId));
  st.lngMsgHook.reset(::SetWindowsHookExA(WH_GETMESSAGE, &MsgHookProc, nullptr, st.lngThreadId));
  // Keys count as clicks only beside the mouse hook: a thread whose mouse hook failed keeps no
  // click time for a key to set either.
  if (st.lngMouseHook)
    st.lngKeyHook.reset(::SetWindowsHookExA(WH_KEYBOARD, &KeyHookProc, nullptr, st.lngThreadId));
  st.keyMemory = hooks::KeyMemory{};
  if (st.lngMouseHook || st.lngMsgHook || st.lngKeyHook) ::InterlockedIncrement(&g_hookedThreads);
}

void ReleaseHooks(ThreadState& st) noexcept {
  if (st.hookUsers > 0) --st.hookUsers;
  if (st.hookUsers > 0) return;
  bool had = st.lngMouseHook || st.lngMsgHook || st.lngKeyHook;
  st.lngKeyHook.reset();
  st.lngMouseHook.reset();
  st.lngMsgHook.reset();
  if (had) ::InterlockedDecrement(&g_hookedThreads);
}

bool AnyHooksInstalled() noexcept { return g_hookedThreads > 0; }

}  // namespace vexbane::ext
