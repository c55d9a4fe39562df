// The message hook's state machine: which messages lead to a dialog scan, and the WM_USER counter.
#pragma once
#include <cstdint>

namespace vexbane::hooks {

inline constexpr uint32_t kScanMessage = 0x0491;  // WM_USER + 0x91
inline constexpr uint32_t kUserMessage = 0x0400;  // WM_USER
// WM_USER messages are looked at only this long after the last scan message.
inline constexpr int32_t kUserMessageSpanMs = 5000;
// The count at which a burst of WM_USER messages starts over.
inline constexpr int16_t kUserCountReset = 16;

// Both hook procedures read their code as the signed 16-bit number in its low bits; a negative
// one means: pass on at once, look at nothing.
bool IsNegativeHookCode(int32_t nCode);

enum class HookMessage { Other, Scan, User };

// Every message the browser thread takes passes the hook: everything but the two numbers is
// passed on untouched.
HookMessage ClassifyHookMessage(uint32_t message);

// Which message made the scan; it picks the time window and the close order of the decision.
enum class DialogTrigger { ScanMessage, UserMessage };

// The part of the thread's state that the counter rules own.
struct DialogWatch {
  int16_t intUserMsgCount = 0;
  int32_t lngDialogMsgTime = 0;  // time of day of the last scan message
};

// What the hook does for one message after looking for a dialog-class window.
struct WatchStep {
  bool scan = false;              // enumerate the frame's dialogs and decide on a new one
  bool clearDialogList = false;   // no dialog-class window exists: the next one is new
  bool clearTridentDlg = false;   // forget the dialog-class window just found
};

// A scan message at time of day `now`; `dialogFound` tells whether any dialog-class window exists.
WatchStep OnScanMessage(DialogWatch& watch, bool dialogFound, int32_t now);

// A WM_USER message at time of day `now`.
WatchStep OnUserMessage(DialogWatch& watch, bool dialogFound, int32_t now);

// True for the counts of a burst at which the dialogs are scanned (1, 3, 5, 8, 11).
bool IsScanCount(int16_t count);

}  // namespace vexbane::hooks
