// What tells a tab's helper from an IE 6 window's.
#include "TabShape.h"

namespace vexbane::ext {

bool FrameOfAnotherThread(HWND frame) noexcept {
  if (!frame) return false;
  const DWORD owner = ::GetWindowThreadProcessId(frame, nullptr);
  return owner != 0 && owner != ::GetCurrentThreadId();
}

bool DialogOfThisBrowser(HWND frame, HWND dialog) noexcept {
  if (!FrameOfAnotherThread(frame)) return true;
  return ::GetWindowThreadProcessId(dialog, nullptr) == ::GetCurrentThreadId();
}

}  // namespace vexbane::ext
