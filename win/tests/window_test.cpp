// The floor's ways to subclass a control and to find a control's top-level window.
#include <gtest/gtest.h>

#include "win/subclass.h"
#include "win/window.h"

namespace vexbane::win {
namespace {

struct Windows {
  HWND top = nullptr;
  HWND child = nullptr;
  HWND grandchild = nullptr;
  HWND owned = nullptr;
  Windows() {
    top = ::CreateWindowExA(0, "STATIC", "top", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
    child = ::CreateWindowExA(0, "STATIC", "child", WS_CHILD, 0, 0, 50, 50, top, nullptr, nullptr, nullptr);
    grandchild = ::CreateWindowExA(0, "BUTTON", "grandchild", WS_CHILD, 0, 0, 20, 20, child, nullptr, nullptr, nullptr);
    owned = ::CreateWindowExA(0, "STATIC", "owned", WS_POPUP, 0, 0, 10, 10, top, nullptr, nullptr, nullptr);
  }
  ~Windows() {
    ::DestroyWindow(owned);
    ::DestroyWindow(top);
  }
};

TEST(RootWindow, ClimbsChildrenButStopsAtAnOwnedTopLevelWindow) {
  Windows w;
  ASSERT_TRUE(w.top && w.child && w.grandchild && w.owned);
  EXPECT_EQ(RootWindow(w.grandchild), w.top);
  EXPECT_EQ(RootWindow(w.child), w.top);
  EXPECT_EQ(RootWindow(w.top), w.top);
  EXPECT_EQ(RootWindow(w.owned), w.owned);  // its owner is not its parent
  EXPECT_EQ(RootWindow(nullptr), nullptr);
}

int g_seen = 0;

LRESULT CALLBACK CountSetText(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_SETTEXT) ++g_seen;
  return CallOriginalProc(window, msg, wParam, lParam);
}

std::string TextOf(HWND window) {
  char text[64] = {};
  ::GetWindowTextA(window, text, sizeof text);
  return text;
}

TEST(SubclassWindow, SeesMessagesFirstAndPassesThemOnUntilRemoved) {
  Windows w;
  auto original = ::GetWindowLongPtrA(w.child, GWLP_WNDPROC);
  g_seen = 0;
  ASSERT_TRUE(SubclassWindow(w.child, &CountSetText));
  EXPECT_FALSE(SubclassWindow(w.child, &CountSetText));  // one subclass per window
  ::SetWindowTextA(w.child, "renamed");
  EXPECT_EQ(g_seen, 1);
  EXPECT_EQ(TextOf(w.child), "renamed");  // the control's own procedure still ran

  UnsubclassWindow(w.child);
  EXPECT_EQ(::GetWindowLongPtrA(w.child, GWLP_WNDPROC), original);
  ::SetWindowTextA(w.child, "again");
  EXPECT_EQ(g_seen, 1);
  EXPECT_TRUE(SubclassWindow(w.child, &CountSetText));  // and it can be subclassed anew
  UnsubclassWindow(w.child);
}

TEST(SubclassWindow, ForgetsItselfWhenTheWindowIsDestroyed) {
  Windows w;
  ASSERT_TRUE(SubclassWindow(w.grandchild, &CountSetText));
  ASSERT_TRUE(::DestroyWindow(w.grandchild));
  // A new window that gets the same handle value must not inherit a stale procedure.
  HWND next = ::CreateWindowExA(0, "STATIC", "next", WS_CHILD, 0, 0, 5, 5, w.top, nullptr, nullptr, nullptr);
  ASSERT_NE(next, nullptr);
  EXPECT_EQ(::GetPropA(next, "VexbaneOriginalProc"), nullptr);
  EXPECT_TRUE(SubclassWindow(next, &CountSetText));
  g_seen = 0;
  ::SetWindowTextA(next, "x");
  EXPECT_EQ(g_seen, 1);
}

}  // namespace
}  // namespace vexbane::win
