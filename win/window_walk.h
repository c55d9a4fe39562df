// The desktop's top-level windows of one class, walked without visiting every other window.
#pragma once
#include <windows.h>

#include <vector>

namespace vexbane::win {

// Told of each window a walk finds, before the walk asks for the next one. Only tests use it:
// they close or raise windows at that moment, as another thread may at any moment.
class WalkObserver {
 public:
  virtual void Found(HWND window) noexcept = 0;

 protected:
  ~WalkObserver() = default;
};

// What the caller already knows. `first`: the class's first window, just found with FindWindowA
// (null: the walk asks for it). `expected`: windows the caller saw before and will take for new
// if the walk misses them.
struct WalkHints {
  HWND first = nullptr;
  const std::vector<HWND>* expected = nullptr;
};

// Fills `windows` with the top-level windows whose class is `className` (letter case ignored,
// as the system compares class names), in Z order, each once. The walk asks the system for one
// window of the class after another, so the desktop's other windows are never visited one by one.
// A window that closes where the walk stands would end it early, and one raised to the top behind
// it would be missed: the first sends the walk round again at once; when a walk misses an
// expected window (closed, or raised past the walk) it is walked again until two walks in a row
// agree. After a few disturbed walks the whole desktop's list (one snapshot) is read instead.
// As in any snapshot, a window may have closed by the time the caller looks at it. Returns false,
// with `windows` empty, when not even the snapshot could be read.
bool TopLevelWindowsOfClass(const char* className, std::vector<HWND>& windows, const WalkHints& hints = {},
                            WalkObserver* observer = nullptr) noexcept;

// `parent` when it belongs to the calling thread, else the first of its descendants that does;
// null when none does. (IE 7 and 8: a tab's windows lie below a frame of another thread.)
HWND WindowOfThisThread(HWND parent) noexcept;

// The top-level window above `window` (itself when it is one). GetAncestor came with Windows 98
// and 2000: a child's chain of parents ends at it.
HWND TopLevelOf(HWND window) noexcept;

}  // namespace vexbane::win
