// Walking the top-level windows of one class.
#include "win/window_walk.h"

#include <algorithm>

namespace vexbane::win {
namespace {

// Walks that may disagree before the snapshot is read: a dialog opening or closing now and then
// settles within two, a desktop that never stands still is not worth more.
constexpr int kMaxWalks = 4;

// One walk; false when the window it stood on vanished, so the rest of the walk is unknown.
bool WalkOnce(const char* className, HWND first, std::vector<HWND>& windows, WalkObserver* observer) {
  windows.clear();
  HWND after = first;
  if (first) {
    windows.push_back(first);
    if (observer) observer->Found(first);
  }
  for (;;) {
    HWND next = ::FindWindowExA(nullptr, after, className, nullptr);
    if (!next) return !after || ::IsWindow(after);
    // A window raised to the top while the walk stood on it brings the walk round again.
    if (std::find(windows.begin(), windows.end(), next) != windows.end()) return false;
    windows.push_back(next);
    if (observer) observer->Found(next);
    after = next;
  }
}

struct Snapshot {
  const char* className;
  std::vector<HWND>* windows;
};

// Class names compare as the system compares them when it looks a class up.
bool SameClassName(const char* a, const char* b) {
  auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
  for (; *a && *b; ++a, ++b)
    if (upper(*a) != upper(*b)) return false;
  return *a == *b;
}

BOOL CALLBACK CollectOfClass(HWND window, LPARAM param) noexcept {
  auto* s = reinterpret_cast<Snapshot*>(param);
  char name[256];
  const int n = ::GetClassNameA(window, name, sizeof name);
  try {
    if (n > 0 && SameClassName(name, s->className)) s->windows->push_back(window);
  } catch (...) {
  }
  return TRUE;
}

bool HoldsAll(const std::vector<HWND>& walk, const std::vector<HWND>* expected) {
  if (!expected) return true;
  for (HWND w : *expected)
    if (std::find(walk.begin(), walk.end(), w) == walk.end()) return false;
  return true;
}

bool SameWindows(std::vector<HWND> a, std::vector<HWND> b) {
  std::sort(a.begin(), a.end());
  std::sort(b.begin(), b.end());
  return a == b;
}

BOOL CALLBACK TakeOwnThreadsWindow(HWND window, LPARAM param) {
  if (::GetWindowThreadProcessId(window, nullptr) != ::GetCurrentThreadId()) return TRUE;
  *reinterpret_cast<HWND*>(param) = window;
  return FALSE;
}

}  // namespace

HWND WindowOfThisThread(HWND parent) noexcept {
  if (!parent || !::IsWindow(parent)) return nullptr;
  if (::GetWindowThreadProcessId(parent, nullptr) == ::GetCurrentThreadId()) return parent;
  HWND found = nullptr;
  ::EnumChildWindows(parent, &TakeOwnThreadsWindow, reinterpret_cast<LPARAM>(&found));
  return found;
}

HWND TopLevelOf(HWND window) noexcept {
  // A bound on the climb: parents are a tree, but a window may be re-parented meanwhile.
  for (int depth = 0; window && depth < 64 && (::GetWindowLongA(window, GWL_STYLE) & WS_CHILD); ++depth)
    window = ::GetParent(window);
  return window;
}

bool TopLevelWindowsOfClass(const char* className, std::vector<HWND>& windows, const WalkHints& hints,
                            WalkObserver* observer) noexcept {
  try {
    std::vector<HWND> previous;
    bool previousWhole = false;
    for (int walk = 0; walk < kMaxWalks; ++walk) {
      // The caller's first window is as fresh as the walk's own first step, once.
      const bool whole = WalkOnce(className, walk == 0 ? hints.first : nullptr, windows, observer);
      if (whole && walk == 0 && HoldsAll(windows, hints.expected)) return true;
      // Agreeing walks keep the Z order of the later one.
      if (whole && previousWhole && SameWindows(previous, windows)) return true;
      previous.swap(windows);
      previousWhole = whole;
    }
    windows.clear();
    Snapshot s{className, &windows};
    if (::EnumWindows(&CollectOfClass, reinterpret_cast<LPARAM>(&s))) return true;
  } catch (...) {
  }
  windows.clear();
  return false;
}

}  // namespace vexbane::win
