// The message hook against real windows: HTML dialogs of the frame closed or left, the tray
// told, the WM_USER bursts and the 5000 ms rule.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>

#include "Hooks.h"
#include "ModVexbaneIE.h"
#include "ThreadState.h"
#include "hooks_fixture.h"
#include "testsupport/registry_fixture.h"

namespace vexbane::ext {
namespace {

using hooktest::MsAgo;
using hooktest::PumpFor;
using hooktest::TestTrayForm;
using hooktest::TestWindow;

constexpr UINT kScan = 0x0491;
constexpr char kDialogClass[] = "Internet Explorer_TridentDlgFrame";

class DialogHookTest : public ::testing::Test {
 protected:
  void SetUp() override {
    hooktest::ResetThreadState();
    m_key.Set("hButton", HandleToText(m_tray.block()));
    m_key.Set("hForm", HandleToText(m_tray.formClose()));
    m_key.Set("Sound", "2");
    m_key.Set("Popup", "2");
    StartThreadState();
  }
  void TearDown() override { hooktest::ResetThreadState(); }

  // What an attach to the test frame leaves behind.
  void StartThreadState() {
    ThreadState& st = *CurrentThreadState();
    st.lngFrameHwnd = m_frame.hwnd();
    st.lngButtonHwnd = m_tray.block();
    st.lngFormHwnd = m_tray.formClose();
    st.strAppPath = m_folder.path();
    st.strPageURL = "http://www.example.com/page";
    st.lngClickTime = TimeOfDayMs();
    InstallHooks(st);
    ASSERT_TRUE(st.lngMsgHook);
  }

  std::unique_ptr<TestWindow> OpenDialog(HWND owner) {
    return std::make_unique<TestWindow>(kDialogClass, owner, 300, 300, 200, 150);
  }

  void Post(UINT message) {
    ::PostMessageA(m_frame.hwnd(), message, 0, 0);
    PumpFor(150);
  }

  vexbane::testing::ScopedProductKey m_key;
  vexbane::testing::ScopedFolder m_folder{"vexbane-hooks-dialog"};
  TestTrayForm m_tray;
  TestWindow m_frame{"IEFrame", nullptr, 600, 500, 100, 80};
};

TEST_F(DialogHookTest, NewDialogClosedOrLeftByLevelMessageAndTimeSinceRelease) {
  struct Case {
    const char* level;
    UINT message;
    int32_t sinceRelease;  // 0: no release recorded
    bool closed;
  };
  const Case cases[] = {
      {"2", kScan, 3000, false},   {"2", kScan, 4500, true},    {"2", WM_USER, 2000, false},
      {"2", WM_USER, 4000, true},  {"3", kScan, 1000, false},   {"3", kScan, 2700, true},
      {"3", WM_USER, 2300, false}, {"3", WM_USER, 4000, true},  {"1", kScan, 4000, false},
      {"1", WM_USER, 6000, true},  {"2", kScan, 0, true},       {"4", kScan, 50, true},
      {"4", WM_USER, 50, true},    {"0", kScan, 0, false},      {"7", kScan, 4500, true},
      {"x", kScan, 0, false},  // a level that is no number reads as 0
  };
  int expectedClicks = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "level " << c.level << " message " << c.message << " after " << c.sinceRelease);
    hooktest::ResetThreadState();
    StartThreadState();
    m_key.Set("Popup", c.level);
    ThreadState& st = *CurrentThreadState();
    const int32_t releasedAt = c.sinceRelease ? MsAgo(c.sinceRelease) : 0;
    st.lngButtonUpTime = releasedAt;
    auto dialog = OpenDialog(m_frame.hwnd());
    Post(c.message);
    EXPECT_EQ(!dialog->Alive(), c.closed);
    if (c.closed) ++expectedClicks;
    EXPECT_EQ(m_tray.blockClicks(), expectedClicks);
    const bool timed = c.level[0] != '0' && c.level[0] != '4' && c.level[0] != 'x';
    EXPECT_EQ(st.lngButtonUpTime, timed ? 0 : releasedAt) << "a timed decision uses up the release";
    EXPECT_EQ(st.lngNewDialog, dialog->hwnd());
  }
  EXPECT_EQ(m_tray.formCloseClicks(), 0);
}

TEST_F(DialogHookTest, CtrlOrAllowListLeaveTheDialogEvenAtLevelFour) {
  m_key.Set("Popup", "4");
  m_folder.Write("WebSite.dat", "1\r\nEXAMPLE.com\r\n");
  auto allowed = OpenDialog(m_frame.hwnd());
  Post(kScan);
  EXPECT_TRUE(allowed->Alive());

  m_folder.Write("WebSite.dat", "1\r\nother.org\r\n");
  INPUT key = {};
  key.type = INPUT_KEYBOARD;
  key.ki.wVk = VK_CONTROL;
  ::SendInput(1, &key, sizeof key);
  PumpFor(100);
  auto withCtrl = OpenDialog(m_frame.hwnd());
  const bool ctrlSeen = ::GetKeyState(VK_CONTROL) < 0;
  Post(kScan);
  key.ki.dwFlags = KEYEVENTF_KEYUP;
  ::SendInput(1, &key, sizeof key);
  PumpFor(100);
  ASSERT_TRUE(ctrlSeen) << "the Ctrl key press did not reach this thread";
  EXPECT_TRUE(withCtrl->Alive());
  EXPECT_EQ(m_tray.blockClicks(), 0);

  auto blocked = OpenDialog(m_frame.hwnd());
  Post(kScan);
  EXPECT_FALSE(blocked->Alive());
  EXPECT_TRUE(allowed->Alive());
  EXPECT_TRUE(withCtrl->Alive());
  EXPECT_EQ(m_tray.blockClicks(), 1);
}

TEST_F(DialogHookTest, DialogOfAnotherFrameIsSeenButNeverClosed) {
  m_key.Set("Popup", "4");
  TestWindow otherFrame("IEFrame", nullptr, 700, 500, 100, 80);
  auto foreign = OpenDialog(otherFrame.hwnd());
  Post(kScan);
  Post(WM_USER);
  EXPECT_TRUE(foreign->Alive());
  EXPECT_EQ(CurrentThreadState()->lngTridentDlg, foreign->hwnd());
  EXPECT_EQ(CurrentThreadState()->strDialogList, "");
  EXPECT_EQ(m_tray.blockClicks(), 0);
}

TEST_F(DialogHookTest, SecondDialogIsClosedWhileTheFirstStays) {
  m_key.Set("Popup", "0");
  auto first = OpenDialog(m_frame.hwnd());
  Post(kScan);
  ASSERT_TRUE(first->Alive());

  m_key.Set("Popup", "4");
  auto second = OpenDialog(m_frame.hwnd());
  Post(kScan);
  EXPECT_FALSE(second->Alive());
  EXPECT_TRUE(first->Alive());
  Post(kScan);
  EXPECT_TRUE(first->Alive()) << "a dialog seen by the scan before is not new";
  EXPECT_EQ(m_tray.blockClicks(), 1);
  EXPECT_EQ(CurrentThreadState()->strDialogList, HandleToText(first->hwnd()) + "@");
}

TEST_F(DialogHookTest, DialogIsNewAgainAfterAScanThatFoundNone) {
  m_key.Set("Popup", "0");
  auto first = OpenDialog(m_frame.hwnd());
  Post(kScan);
  first.reset();
  Post(kScan);
  EXPECT_EQ(CurrentThreadState()->strDialogList, "");
  m_key.Set("Popup", "4");
  auto next = OpenDialog(m_frame.hwnd());
  Post(kScan);
  EXPECT_FALSE(next->Alive());
}

TEST_F(DialogHookTest, WmUserBurstScansAtOneThreeFiveAndEight) {
  m_key.Set("Popup", "4");
  ThreadState& st = *CurrentThreadState();
  std::vector<int> closedAt;
  auto dialog = OpenDialog(m_frame.hwnd());
  for (int n = 1; n <= 9; ++n) {
    Post(WM_USER);
    EXPECT_EQ(st.intUserMsgCount, n);
    if (!dialog->Alive()) {
      closedAt.push_back(n);
      dialog = OpenDialog(m_frame.hwnd());
    } else {
      EXPECT_EQ(st.lngTridentDlg, nullptr) << "a count without a scan forgets the dialog frame: " << n;
    }
  }
  EXPECT_EQ(closedAt, (std::vector<int>{1, 3, 5, 8}));
  EXPECT_EQ(m_tray.blockClicks(), 4);
  EXPECT_EQ(m_frame.log().userMessages, 9) << "the hook passes every message on";
}

TEST_F(DialogHookTest, WmUserMoreThanFiveSecondsAfterTheScanMessageIsNotCounted) {
  m_key.Set("Popup", "4");
  ThreadState& st = *CurrentThreadState();
  st.lngDialogMsgTime = MsAgo(6000);
  st.intUserMsgCount = 3;
  auto dialog = OpenDialog(m_frame.hwnd());
  Post(WM_USER);
  EXPECT_TRUE(dialog->Alive());
  EXPECT_EQ(st.intUserMsgCount, 0);

  st.lngDialogMsgTime = MsAgo(4000);
  Post(WM_USER);
  EXPECT_FALSE(dialog->Alive());
  EXPECT_EQ(st.intUserMsgCount, 1);

  // A scan message starts the five seconds again but not the count.
  st.lngDialogMsgTime = MsAgo(6000);
  Post(kScan);
  auto next = OpenDialog(m_frame.hwnd());
  Post(WM_USER);
  EXPECT_TRUE(next->Alive());
  EXPECT_EQ(st.intUserMsgCount, 2);
  Post(WM_USER);
  EXPECT_FALSE(next->Alive());
  EXPECT_EQ(st.intUserMsgCount, 3);
  EXPECT_EQ(m_frame.log().scanMessages, 1);
  EXPECT_EQ(m_tray.blockClicks(), 2);
}

TEST_F(DialogHookTest, NoDialogFrameAnywhereResetsTheBurstAndTheList) {
  ThreadState& st = *CurrentThreadState();
  st.intUserMsgCount = 7;
  st.strDialogList = "123@";
  st.lngTridentDlg = m_frame.hwnd();
  Post(WM_USER);
  EXPECT_EQ(st.intUserMsgCount, 0);
  EXPECT_EQ(st.strDialogList, "");
  EXPECT_EQ(st.lngTridentDlg, nullptr);

  st.strDialogList = "123@";
  Post(kScan);
  EXPECT_EQ(st.strDialogList, "");
  EXPECT_EQ(m_tray.blockClicks(), 0);
}

// A loop that looks at the queue without taking a message (PM_NOREMOVE) shows the hook the
// message twice: it counts, scans and decides once, when the message is taken.
TEST_F(DialogHookTest, AMessageLookedAtBeforeItIsTakenCountsOnce) {
  m_key.Set("Popup", "4");
  ThreadState& st = *CurrentThreadState();
  st.lngDialogMsgTime = MsAgo(100);
  auto dialog = OpenDialog(m_frame.hwnd());
  for (UINT message : {static_cast<UINT>(WM_USER), kScan}) {
    SCOPED_TRACE(message);
    ::PostMessageA(m_frame.hwnd(), message, 0, 0);
    MSG peeked = {};
    ASSERT_TRUE(::PeekMessageA(&peeked, nullptr, message, message, PM_NOREMOVE));
    EXPECT_TRUE(dialog->Alive()) << "nothing is decided while the message stays queued";
    PumpFor(150);
    EXPECT_FALSE(dialog->Alive());
    dialog = OpenDialog(m_frame.hwnd());
  }
  EXPECT_EQ(st.intUserMsgCount, 1);
  EXPECT_EQ(m_tray.blockClicks(), 2);
  EXPECT_EQ(m_frame.log().userMessages, 1);
  EXPECT_EQ(m_frame.log().scanMessages, 1);
}

}  // namespace
}  // namespace vexbane::ext
