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

// Fills `windows` with the top-level windows whose class is `className` (letter case ignored,
// as the system compares class names), in Z order, each once. The walk asks the system for one
// window of the class after another, so the desktop's other windows cost nothing; a window that
// closes or moves in Z order meanwhile could end it early or hide a window from it, so the walk
// is repeated until two walks in a row agree, and after a few disturbed walks the whole desktop's
// list (one snapshot) is read instead. Returns false, with `windows` empty, when not even the
// snapshot could be read.
bool TopLevelWindowsOfClass(const char* className, std::vector<HWND>& windows,
                            WalkObserver* observer = nullptr) noexcept;

}  // namespace vexbane::win
