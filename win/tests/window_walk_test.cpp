// The walk over one class's top-level windows: every window of the class once, in Z order,
// also when windows close or move while it runs.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "win/window_walk.h"

namespace vexbane::win {
namespace {

constexpr char kClass[] = "VexbaneWalkTest";
constexpr char kOtherClass[] = "VexbaneWalkOther";

HWND MakeWindow(const char* className) {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = &::DefWindowProcA;
  wc.hInstance = ::GetModuleHandleA(nullptr);
  wc.lpszClassName = className;
  ::RegisterClassA(&wc);  // a second registration fails harmlessly
  return ::CreateWindowExA(0, className, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, ::GetModuleHandleA(nullptr),
                           nullptr);
}

// The class's windows in the order the system's own snapshot lists them.
std::vector<HWND> SnapshotOfClass() {
  std::vector<HWND> found;
  ::EnumWindows(
      [](HWND w, LPARAM p) __attribute__((stdcall)) -> BOOL {
        char name[64];
        if (::GetClassNameA(w, name, sizeof name) > 0 && ::lstrcmpA(name, kClass) == 0)
          reinterpret_cast<std::vector<HWND>*>(p)->push_back(w);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

class Windows {
 public:
  explicit Windows(int n) {
    for (int i = 0; i < n; ++i) m_all.push_back(MakeWindow(kClass));
  }
  ~Windows() {
    for (HWND w : m_all)
      if (::IsWindow(w)) ::DestroyWindow(w);
  }
  HWND Add() {
    m_all.push_back(MakeWindow(kClass));
    return m_all.back();
  }
  const std::vector<HWND>& all() const { return m_all; }

 private:
  std::vector<HWND> m_all;
};

class ActionAt final : public WalkObserver {
 public:
  ActionAt(int at, std::function<void(HWND)> action) : m_at(at), m_action(std::move(action)) {}
  void Found(HWND window) noexcept override {
    if (m_calls++ == m_at) m_action(window);
  }
  int calls() const { return m_calls; }

 private:
  int m_at;
  std::function<void(HWND)> m_action;
  int m_calls = 0;
};

std::vector<HWND> Alive(std::vector<HWND> v) {
  v.erase(std::remove_if(v.begin(), v.end(), [](HWND w) { return !::IsWindow(w); }), v.end());
  return v;
}

std::vector<HWND> Sorted(std::vector<HWND> v) {
  std::sort(v.begin(), v.end());
  return v;
}

TEST(TopLevelWindowsOfClass, FindsEveryWindowOfTheClassOnceInZOrderAndNoOther) {
  Windows mine(3);
  HWND other = MakeWindow(kOtherClass);
  std::vector<HWND> found;
  ASSERT_TRUE(TopLevelWindowsOfClass(kClass, found));
  EXPECT_EQ(found, SnapshotOfClass());
  EXPECT_EQ(Sorted(found), Sorted(mine.all()));
  ::DestroyWindow(other);
}

TEST(TopLevelWindowsOfClass, NoWindowOfTheClassIsAnEmptyList) {
  std::vector<HWND> found{reinterpret_cast<HWND>(1)};
  ASSERT_TRUE(TopLevelWindowsOfClass("VexbaneWalkNoSuchClass", found));
  EXPECT_TRUE(found.empty());
}

// The walk asks for the window after the one it stands on; once that one is gone, a walk that
// stopped there would miss every window behind it.
TEST(TopLevelWindowsOfClass, AWindowClosingWhereTheWalkStandsHidesNoneBehindIt) {
  Windows mine(4);
  const std::vector<HWND> before = SnapshotOfClass();
  ASSERT_EQ(before.size(), 4u);
  ActionAt closeFirst(0, [](HWND w) { ::DestroyWindow(w); });
  std::vector<HWND> found;
  ASSERT_TRUE(TopLevelWindowsOfClass(kClass, found, {}, &closeFirst));
  EXPECT_EQ(found, std::vector<HWND>(before.begin() + 1, before.end()));
}

TEST(TopLevelWindowsOfClass, TheCallersFirstWindowStartsTheWalk) {
  Windows mine(3);
  const std::vector<HWND> before = SnapshotOfClass();
  ASSERT_EQ(before.size(), 3u);
  ActionAt count(99, [](HWND) {});
  std::vector<HWND> found;
  ASSERT_TRUE(TopLevelWindowsOfClass(kClass, found, {::FindWindowA(kClass, nullptr), nullptr}, &count));
  EXPECT_EQ(found, before);
  EXPECT_EQ(count.calls(), 3);
}

TEST(TopLevelWindowsOfClass, AWindowClosingBehindTheWalkHidesNoOther) {
  Windows mine(3);
  const std::vector<HWND> before = SnapshotOfClass();
  ASSERT_EQ(before.size(), 3u);
  // Standing on the second window, the first (already found) closes.
  ActionAt closeEarlier(1, [&](HWND) { ::DestroyWindow(before[0]); });
  std::vector<HWND> found;
  ASSERT_TRUE(TopLevelWindowsOfClass(kClass, found, {nullptr, &before}, &closeEarlier));
  EXPECT_EQ(Alive(found), std::vector<HWND>(before.begin() + 1, before.end()));
}

// A window raised to the top while the walk is past the top would be behind the walk.
TEST(TopLevelWindowsOfClass, AWindowRaisedPastTheWalkIsStillFound) {
  Windows mine(3);
  const std::vector<HWND> before = SnapshotOfClass();
  ASSERT_EQ(before.size(), 3u);
  ActionAt raiseLast(1, [&](HWND) {
    ::SetWindowPos(before[2], HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  });
  std::vector<HWND> found;
  ASSERT_TRUE(TopLevelWindowsOfClass(kClass, found, {nullptr, &before}, &raiseLast));
  EXPECT_EQ(Sorted(found), Sorted(before));
  EXPECT_EQ(found, SnapshotOfClass());
}

TEST(TopLevelWindowsOfClass, AWindowRaisedWhereTheWalkStandsIsCountedOnce) {
  Windows mine(3);
  const std::vector<HWND> before = SnapshotOfClass();
  ASSERT_EQ(before.size(), 3u);
  ActionAt raiseCurrent(1, [](HWND w) {
    ::SetWindowPos(w, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  });
  std::vector<HWND> found;
  ASSERT_TRUE(TopLevelWindowsOfClass(kClass, found, {}, &raiseCurrent));
  EXPECT_EQ(found, SnapshotOfClass());
}

// A desktop where the last window of the class is raised whenever a walk has left the top never
// gives a walk that holds every expected window, nor two equal walks: the system's snapshot
// answers then.
class RaiseLastAtEveryStep final : public WalkObserver {
 public:
  void Found(HWND w) noexcept override {
    const std::vector<HWND> now = SnapshotOfClass();
    if (!now.empty() && now.front() == w)
      ::SetWindowPos(now.back(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ++m_calls;
  }
  int calls() const { return m_calls; }

 private:
  int m_calls = 0;
};

TEST(TopLevelWindowsOfClass, ADesktopThatNeverStandsStillIsReadFromOneSnapshot) {
  Windows mine(3);
  const std::vector<HWND> before = SnapshotOfClass();
  ASSERT_EQ(before.size(), 3u);
  RaiseLastAtEveryStep raiser;
  std::vector<HWND> found;
  ASSERT_TRUE(TopLevelWindowsOfClass(kClass, found, {nullptr, &before}, &raiser));
  EXPECT_GT(raiser.calls(), 3) << "the first walk was taken";
  EXPECT_EQ(found, SnapshotOfClass());
  EXPECT_EQ(Sorted(found), Sorted(before));
}

}  // namespace
}  // namespace vexbane::win
