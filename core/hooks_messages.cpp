// The message hook's state machine.
#include "hooks_messages.h"

#include "core/time_of_day.h"

namespace vexbane::hooks {

bool IsNegativeHookCode(int32_t nCode) {
  return static_cast<int16_t>(static_cast<uint32_t>(nCode) & 0xFFFFu) < 0;
}

HookMessage ClassifyHookMessage(uint32_t message) {
  if (message == kScanMessage) return HookMessage::Scan;
  if (message == kUserMessage) return HookMessage::User;
  return HookMessage::Other;
}

bool IsScanCount(int16_t count) {
  return count == 1 || count == 3 || count == 5 || count == 8 || count == 11;
}

WatchStep OnScanMessage(DialogWatch& watch, bool dialogFound, int32_t now) {
  WatchStep step;
  watch.lngDialogMsgTime = now;
  if (!dialogFound) {
    step.clearDialogList = true;
    return step;
  }
  step.scan = true;
  return step;
}

WatchStep OnUserMessage(DialogWatch& watch, bool dialogFound, int32_t now) {
  WatchStep step;
  if (!dialogFound) {
    watch.intUserMsgCount = 0;
    step.clearDialogList = true;
    return step;
  }
  // Midnight-safe: a scan message at 23:59:58 is 3 s before a WM_USER message at 00:00:01.
  if (ElapsedMs(now, watch.lngDialogMsgTime) > kUserMessageSpanMs) {
    watch.intUserMsgCount = 0;
    return step;
  }
  ++watch.intUserMsgCount;
  if (IsScanCount(watch.intUserMsgCount)) {
    step.scan = true;
    return step;
  }
  step.clearTridentDlg = true;
  if (watch.intUserMsgCount >= kUserCountReset) watch.intUserMsgCount = 0;
  return step;
}

}  // namespace vexbane::hooks
