// The helper's module state: one copy per browser thread, shared by every object, hook and
// callback of that thread. Hooks and enumeration callbacks get no context from the system,
// so they find it through the current thread.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "BlockedWindows.h"
#include "core/hooks_keys.h"
#include "win/unique.h"

namespace vexbane::ext {

struct ThreadState {
  std::string strAppPath;          // folder of the helper's file, no trailing backslash
  HWND lngFormHwnd = nullptr;      // from "hForm": the tray's "Form Close" button
  HWND lngButtonHwnd = nullptr;    // from "hButton": the tray's "Block" button
  std::string strPageURL;          // address of the page shown, as last read
  HWND lngFrameHwnd = nullptr;     // the browser frame window; null when not attached to one
  DWORD lngThreadId = 0;           // thread that installed the hooks
  win::UniqueHook lngMouseHook;    // WH_MOUSE
  win::UniqueHook lngMsgHook;      // WH_GETMESSAGE
  win::UniqueHook lngKeyHook;      // WH_KEYBOARD: Enter and Space count as clicks
  hooks::KeyMemory keyMemory;      // what the keyboard hook keeps between keys
  int hookUsers = 0;               // frame objects on this thread that rely on the hooks
  int32_t lngClickTime = 0;        // time of day of the last click that may open a window; 0 = none
  int32_t lngButtonUpTime = 0;     // time of day of the last left-button release; 0 = none
  int32_t lngDialogMsgTime = 0;    // time of day of the last scan message
  std::string strOldDialogList;    // dialog list of the scan before the last
  std::string strDialogList;       // "<handle>@" for each dialog found by the last scan
  HWND lngNewDialog = nullptr;     // a dialog of the last scan not in the old list
  HWND lngTridentDlg = nullptr;    // any dialog-frame window found by class; null = none
  int16_t intUserMsgCount = 0;     // WM_USER messages counted after the last scan message
  BlockedWindows blockedWindows;   // what "Open" in the tray's list may ask this thread for
  uint32_t messagesTaken = 0;      // messages the thread took from its queue: names its dispatch
};

// One state per thread in a TLS slot of the module's own. A thread that cannot have a state of its
// own (no slot was left for the module: NT 4.0 has 64, the 95 family 80, and a browser with many
// add-ons uses them up; or no memory) gets none: threads never share one, since two threads
// would write the same strings and one thread's hook reset would unhook another's.
class ThreadStates {
 public:
  // Takes the slot (TLS_OUT_OF_INDEXES when TlsAlloc found none) and frees it with itself.
  explicit ThreadStates(DWORD slot) noexcept;
  ~ThreadStates();
  ThreadStates(const ThreadStates&) = delete;
  ThreadStates& operator=(const ThreadStates&) = delete;

  // The calling thread's state, created empty on first use; null when it cannot have one.
  ThreadState* Current() noexcept;
  // Frees the calling thread's state.
  void ReleaseCurrent() noexcept;

 private:
  struct Node;
  void Unlink(Node* node) noexcept;

  DWORD m_slot;
  CRITICAL_SECTION m_lock;
  Node* m_first = nullptr;
};

// The calling thread's state in the module's ThreadStates; null on a thread that cannot have one
// of its own, where the helper stands aside as if it were not loaded.
ThreadState* CurrentThreadState() noexcept;

// Frees the calling thread's state as the thread ends.
void ReleaseCurrentThreadState() noexcept;

// Window handles cross processes as decimal text of their 32-bit value.
HWND HandleFromText(const std::string& text, HWND unchanged) noexcept;
std::string HandleToText(HWND hwnd);

}  // namespace vexbane::ext
