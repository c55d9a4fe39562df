// One hook set per browser thread: shared by the frame objects attached on it, gone with the last.
#include <windows.h>

#include <gtest/gtest.h>

#include <thread>

#include "Hooks.h"
#include "ThreadState.h"
#include "hooks_fixture.h"

namespace vexbane::ext {
namespace {

class HookInstallTest : public ::testing::Test {
 protected:
  void SetUp() override { hooktest::ResetThreadState(); }
  void TearDown() override { hooktest::ResetThreadState(); }
};

TEST_F(HookInstallTest, SecondAttachSharesTheSetAndTheLastReleaseRemovesIt) {
  ThreadState& st = *CurrentThreadState();
  EXPECT_FALSE(AnyHooksInstalled());
  InstallHooks(st);
  ASSERT_TRUE(st.lngMouseHook);
  ASSERT_TRUE(st.lngMsgHook);
  ASSERT_TRUE(st.lngKeyHook) << "keys count as clicks beside the mouse hook";
  EXPECT_EQ(st.lngThreadId, ::GetCurrentThreadId());
  const HHOOK mouse = st.lngMouseHook.get();
  const HHOOK msg = st.lngMsgHook.get();
  const HHOOK key = st.lngKeyHook.get();
  EXPECT_TRUE(AnyHooksInstalled());

  InstallHooks(st);
  EXPECT_EQ(st.lngMouseHook.get(), mouse) << "a second attach must not install a second set";
  EXPECT_EQ(st.lngMsgHook.get(), msg);
  EXPECT_EQ(st.lngKeyHook.get(), key);
  EXPECT_EQ(st.hookUsers, 2);

  ReleaseHooks(st);
  EXPECT_EQ(st.lngMouseHook.get(), mouse);
  EXPECT_TRUE(AnyHooksInstalled());

  ReleaseHooks(st);
  EXPECT_FALSE(st.lngMouseHook);
  EXPECT_FALSE(st.lngMsgHook);
  EXPECT_FALSE(st.lngKeyHook);
  EXPECT_FALSE(AnyHooksInstalled());
  // The removed hooks are really gone: the system no longer knows their handles.
  EXPECT_FALSE(::UnhookWindowsHookEx(mouse));
  EXPECT_FALSE(::UnhookWindowsHookEx(key));

  ReleaseHooks(st);  // one release too many changes nothing
  EXPECT_EQ(st.hookUsers, 0);
  EXPECT_FALSE(AnyHooksInstalled());
}

TEST_F(HookInstallTest, EveryAttachRestartsTheDialogWatch) {
  ThreadState& st = *CurrentThreadState();
  st.lngClickTime = 1000;
  InstallHooks(st);
  EXPECT_EQ(st.lngDialogMsgTime, 1000);
  st.strDialogList = "5@";
  st.intUserMsgCount = 4;
  st.lngClickTime = 2000;
  InstallHooks(st);
  EXPECT_EQ(st.strDialogList, "");
  EXPECT_EQ(st.intUserMsgCount, 0);
  EXPECT_EQ(st.lngDialogMsgTime, 2000);
}

TEST_F(HookInstallTest, EachThreadHasItsOwnSet) {
  InstallHooks(*CurrentThreadState());
  HHOOK mainMouse = CurrentThreadState()->lngMouseHook.get();
  HHOOK otherMouse = nullptr;
  bool stillInstalledAfterOtherQuit = false;
  std::thread other([&] {
    ThreadState& st = *CurrentThreadState();
    InstallHooks(st);
    otherMouse = st.lngMouseHook.get();
    ReleaseHooks(st);
    stillInstalledAfterOtherQuit = AnyHooksInstalled();
  });
  other.join();
  EXPECT_NE(otherMouse, nullptr);
  EXPECT_NE(otherMouse, mainMouse);
  EXPECT_TRUE(stillInstalledAfterOtherQuit) << "the main thread still holds its set";
  EXPECT_EQ(CurrentThreadState()->lngMouseHook.get(), mainMouse);
}

}  // namespace
}  // namespace vexbane::ext
