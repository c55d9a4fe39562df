// The mouse hook under real input: presses and releases on windows of each kind of class.
#include <windows.h>

#include <gtest/gtest.h>

#include "Hooks.h"
#include "ModVexbaneIE.h"
#include "ThreadState.h"
#include "core/time_of_day.h"
#include "hooks_fixture.h"

namespace vexbane::ext {
namespace {

using hooktest::PumpFor;
using hooktest::TestWindow;

void SendButton(POINT at, DWORD flags) {
  ::SetCursorPos(at.x, at.y);
  PumpFor(30);
  INPUT in = {};
  in.type = INPUT_MOUSE;
  in.mi.dwFlags = flags;
  ::SendInput(1, &in, sizeof in);
  PumpFor(120);
}

// True when `t` is a time of day taken within the last few seconds.
bool IsRecent(int32_t t) { return t != 0 && ElapsedMs(TimeOfDayMs(), t) < 5000; }

class MouseHookTest : public ::testing::Test {
 protected:
  void SetUp() override {
    hooktest::ResetThreadState();
    ThreadState& st = *CurrentThreadState();
    st.lngFrameHwnd = m_frame.hwnd();
    st.lngClickTime = TimeOfDayMs();
    InstallHooks(st);
    ASSERT_TRUE(st.lngMouseHook);
  }
  void TearDown() override { hooktest::ResetThreadState(); }

  // Presses on a fresh window of `className`, then releases on it; reports both click times.
  struct Seen {
    int32_t clickAfterPress;
    int32_t clickAfterRelease;
    int32_t buttonUp;
    int downsDelivered;
  };
  Seen PressAndRelease(const char* className) {
    TestWindow target(className, nullptr, 200, 200, 160, 120);
    PumpFor(50);
    ThreadState& st = *CurrentThreadState();
    st.lngClickTime = 12345;
    st.lngButtonUpTime = 0;
    Seen seen{};
    SendButton(target.Center(), MOUSEEVENTF_LEFTDOWN);
    seen.clickAfterPress = st.lngClickTime;
    SendButton(target.Center(), MOUSEEVENTF_LEFTUP);
    seen.clickAfterRelease = st.lngClickTime;
    seen.buttonUp = st.lngButtonUpTime;
    seen.downsDelivered = target.log().lbuttonDown;
    return seen;
  }

  TestWindow m_frame{"IEFrame", nullptr, 600, 500, 100, 80};
};

TEST_F(MouseHookTest, UnlistedClassRecordsOnPressAndAgainOnRelease) {
  Seen s = PressAndRelease("Vexbane Test Page");
  EXPECT_TRUE(IsRecent(s.clickAfterPress)) << s.clickAfterPress;
  EXPECT_TRUE(IsRecent(s.clickAfterRelease));
  EXPECT_EQ(s.clickAfterRelease, s.buttonUp);
  EXPECT_EQ(s.downsDelivered, 1) << "the hook passes every mouse message on";
}

TEST_F(MouseHookTest, ListedClassClearsTheClickButRecordsTheRelease) {
  for (const char* listed : {"IEFrame", "ReBarWindow32", "msctls_statusbar32"}) {
    Seen s = PressAndRelease(listed);
    EXPECT_EQ(s.clickAfterPress, 0) << listed;
    EXPECT_EQ(s.clickAfterRelease, 0) << listed;
    EXPECT_TRUE(IsRecent(s.buttonUp)) << listed;
  }
}

TEST_F(MouseHookTest, PageClassCountsOnReleaseOnly) {
  Seen s = PressAndRelease("Internet Explorer_Server");
  EXPECT_EQ(s.clickAfterPress, 0);
  EXPECT_TRUE(IsRecent(s.clickAfterRelease));
  EXPECT_EQ(s.clickAfterRelease, s.buttonUp);
}

TEST_F(MouseHookTest, HiddenBrowserWindowNeverCounts) {
  Seen s = PressAndRelease("Internet Explorer_Hidden");
  EXPECT_EQ(s.clickAfterPress, 0);
  EXPECT_EQ(s.clickAfterRelease, 0);
  EXPECT_TRUE(IsRecent(s.buttonUp));
}

TEST_F(MouseHookTest, SystemEditControlIsListed) {
  HWND edit = ::CreateWindowExA(0, "EDIT", "", WS_POPUP | WS_BORDER, 200, 200, 160, 40, nullptr, nullptr,
                                ::GetModuleHandleA(nullptr), nullptr);
  ASSERT_TRUE(edit);
  hooktest::ShowOnTop(edit);
  PumpFor(50);
  ThreadState& st = *CurrentThreadState();
  st.lngClickTime = 12345;
  RECT r;
  ::GetWindowRect(edit, &r);
  POINT c{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  SendButton(c, MOUSEEVENTF_LEFTDOWN);
  EXPECT_EQ(st.lngClickTime, 0);
  SendButton(c, MOUSEEVENTF_LEFTUP);
  EXPECT_EQ(st.lngClickTime, 0);
  ::DestroyWindow(edit);
}

TEST_F(MouseHookTest, NothingIsRecordedOnceTheLastUserReleasedTheHooks) {
  ReleaseHooks(*CurrentThreadState());
  Seen s = PressAndRelease("Vexbane Test Page");
  EXPECT_EQ(s.clickAfterPress, 12345);
  EXPECT_EQ(s.buttonUp, 0);
  EXPECT_EQ(s.downsDelivered, 1);
}

}  // namespace
}  // namespace vexbane::ext
