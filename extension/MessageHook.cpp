// The WH_GETMESSAGE hook procedure of the browser thread.
#include "MessageHook.h"

#include "DialogDecision.h"
#include "DialogScan.h"
#include "ModVexbaneIE.h"
#include "BlockedWindows.h"
#include "ThreadState.h"
#include "core/hooks_dialogs.h"
#include "core/hooks_messages.h"
#include "win/window_walk.h"

namespace vexbane::ext {
namespace {

using hooks::DialogTrigger;
using hooks::DialogWatch;
using hooks::WatchStep;

// Any dialog-frame window on the desktop, whoever owns it.
HWND FindAnyDialogFrame() noexcept { return ::FindWindowA(hooks::kDialogClass, nullptr); }

void Apply(ThreadState& st, const DialogWatch& watch, const WatchStep& step, DialogTrigger trigger) {
  st.intUserMsgCount = watch.intUserMsgCount;
  st.lngDialogMsgTime = watch.lngDialogMsgTime;
  if (step.clearDialogList) st.strDialogList.clear();
  if (step.clearTridentDlg) st.lngTridentDlg = nullptr;
  if (step.scan && RunDialogScan(st)) DecideOnNewDialog(st, trigger);
}

void OnScanMessage(ThreadState& st) {
  DialogWatch watch{st.intUserMsgCount, st.lngDialogMsgTime};
  const int32_t now = TimeOfDayMs();
  st.lngTridentDlg = FindAnyDialogFrame();
  WatchStep step = hooks::OnScanMessage(watch, st.lngTridentDlg != nullptr, now);
  Apply(st, watch, step, DialogTrigger::ScanMessage);
}

void OnUserMessage(ThreadState& st) {
  DialogWatch watch{st.intUserMsgCount, st.lngDialogMsgTime};
  st.lngTridentDlg = FindAnyDialogFrame();
  WatchStep step = hooks::OnUserMessage(watch, st.lngTridentDlg != nullptr, TimeOfDayMs());
  Apply(st, watch, step, DialogTrigger::UserMessage);
}

}  // namespace

LRESULT CALLBACK MsgHookProc(int nCode, WPARAM wParam, LPARAM lParam) noexcept {
  ThreadState* st = CurrentThreadState();
  if (!st) return ::CallNextHookEx(nullptr, nCode, wParam, lParam);
  // The hook also sees a message that a loop only looks at (PeekMessage with PM_NOREMOVE, as
  // modal loops do) and sees it again when it is taken: act only on the message being taken.
  const auto* msg = wParam == PM_REMOVE ? reinterpret_cast<const MSG*>(lParam) : nullptr;
  // Events raised while one message is handled belong together (a request's two new-window
  // events); the count tells one dispatch from the next.
  if (msg && !hooks::IsNegativeHookCode(nCode)) ++st->messagesTaken;
  if (!hooks::IsNegativeHookCode(nCode) && msg && msg->message == OpenBlockedMessage() && msg->message) {
    // The tray's "Open": taken here, so the browser's own frame never sees a message of ours.
    auto* taken = const_cast<MSG*>(msg);
    // Posted to the frame (IE 6) or to a window of this tab below it (IE 7 and 8).
    st->blockedWindows.Open(win::TopLevelOf(taken->hwnd), static_cast<uint32_t>(taken->wParam));
    taken->message = WM_NULL;
  } else if (!hooks::IsNegativeHookCode(nCode) && msg) {
    try {
      switch (hooks::ClassifyHookMessage(msg->message)) {
        case hooks::HookMessage::Scan: OnScanMessage(*st); break;
        case hooks::HookMessage::User: OnUserMessage(*st); break;
        case hooks::HookMessage::Other: break;
      }
    } catch (...) {
    }
  }
  return ::CallNextHookEx(st->lngMsgHook.get(), nCode, wParam, lParam);
}

}  // namespace vexbane::ext
