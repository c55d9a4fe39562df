// The keyboard hook under real input: a key peeked and left in the queue, then taken; a key on
// the browser's chrome; the hook's share of the thread's hook set.
#include <windows.h>

#include <gtest/gtest.h>

#include "Hooks.h"
#include "ModVexbaneIE.h"
#include "ThreadState.h"
#include "hooks_fixture.h"

namespace vexbane::ext {
namespace {

using hooktest::PumpFor;
using hooktest::TestWindow;

void SendKey(WORD vk, bool up) {
  INPUT in = {};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.wScan = static_cast<WORD>(::MapVirtualKeyA(vk, 0));
  in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  ::SendInput(1, &in, sizeof in);
}

// Waits until a key message is in this thread's queue, looking at it only with PM_NOREMOVE.
bool PeekKeyWithoutTaking(int times) {
  bool seen = false;
  for (int wait = 0; wait < 100 && !seen; ++wait) {
    MSG msg;
    seen = ::PeekMessageA(&msg, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_NOREMOVE) != FALSE;
    if (!seen) ::Sleep(5);
  }
  for (int i = 1; seen && i < times; ++i) {
    MSG msg;
    ::PeekMessageA(&msg, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_NOREMOVE);
  }
  return seen;
}

class KeyboardHookTest : public ::testing::Test {
 protected:
  void SetUp() override {
    hooktest::ResetThreadState();
    ThreadState& st = *CurrentThreadState();
    st.lngFrameHwnd = m_frame.hwnd();
    InstallHooks(st);
    ASSERT_TRUE(st.lngKeyHook);
  }
  void TearDown() override { hooktest::ResetThreadState(); }

  // Gives the keyboard focus to a fresh window of `className` on this thread.
  void FocusOn(TestWindow& target) {
    ::SetForegroundWindow(target.hwnd());
    PumpFor(150);
    ::SetFocus(target.hwnd());
    PumpFor(30);
  }

  TestWindow m_frame{"IEFrame", nullptr, 600, 500, 100, 80};
};

TEST_F(KeyboardHookTest, AKeyPeekedWithoutTakingItCountsOnlyWhenTaken) {
  TestWindow page("Internet Explorer_Server", nullptr, 200, 200, 160, 120);
  FocusOn(page);
  ThreadState& st = *CurrentThreadState();
  st.lngClickTime = 0;
  st.lngButtonUpTime = 0;
  SendKey(VK_RETURN, false);
  ASSERT_TRUE(PeekKeyWithoutTaking(3)) << "the key reached this thread's queue";
  EXPECT_EQ(st.lngClickTime, 0) << "a peek that leaves the key queued does not count it";
  PumpFor(50);
  EXPECT_NE(st.lngClickTime, 0) << "taken from the queue: Enter counts";
  EXPECT_EQ(st.lngButtonUpTime, st.lngClickTime);
  SendKey(VK_RETURN, true);
  PumpFor(50);
}

TEST_F(KeyboardHookTest, EnterInTheAddressBarIsNoClick) {
  TestWindow edit("Edit", nullptr, 200, 200, 160, 30);
  FocusOn(edit);
  ThreadState& st = *CurrentThreadState();
  st.lngClickTime = 0;
  SendKey(VK_RETURN, false);
  SendKey(VK_RETURN, true);
  PumpFor(100);
  EXPECT_EQ(st.lngClickTime, 0) << "the browser's own edit field: Enter navigates, it opens no window";
}

TEST_F(KeyboardHookTest, TheKeyHookPassesEveryKeyOn) {
  TestWindow page("Internet Explorer_Server", nullptr, 200, 200, 160, 120);
  FocusOn(page);
  SendKey('A', false);
  SendKey('A', true);
  bool delivered = false;
  for (int i = 0; i < 40 && !delivered; ++i) {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE))
      delivered = delivered || (msg.message == WM_KEYDOWN && msg.wParam == 'A');
    ::Sleep(5);
  }
  EXPECT_TRUE(delivered) << "the hook never swallows a key";
}

}  // namespace
}  // namespace vexbane::ext
