// Every way a frame object's life ends gives back its share of the thread's hooks exactly once,
// and the server unloads only when no object, sink or hook of it is left.
#include <gtest/gtest.h>

#include "HelperFixture.h"

namespace vexbane::ext::testing {
namespace {

using HookShareTest = HelperTest;

// An Explorer window's object attaches on the browser's thread after the frame's object; the
// frame's quit must still give back the frame's share.
TEST_F(HookShareTest, NonFrameAttachAfterAFrameLeavesNoHookOnceBothHaveGone) {
  Session().Open();
  Session().Open("CabinetWClass");
  ASSERT_TRUE(Session().Select(1));
  Session().Quit();  // the frame's quit event, then its detach
  EXPECT_EQ(CallExport("DllCanUnloadNow"), S_FALSE) << "the Explorer window's object still lives";
  ASSERT_TRUE(Session().Select(2));
  Session().Quit();
  Pump(50);
  EXPECT_EQ(CallExport("DllCanUnloadNow"), S_OK) << "no object and no hook of the module left";
}

TEST_F(HookShareTest, FrameDetachedWithoutAQuitGivesItsShareBack) {
  host::HostWindow& w = Session().Open();
  Session().Open("CabinetWClass");
  w.helper()->SetSite(nullptr);  // the browser takes the site away without a quit event
  Session().QuitAll();
  Pump(50);
  EXPECT_EQ(CallExport("DllCanUnloadNow"), S_OK);
}

// Quit events repeated, then the detach: one share given back, so the other frame of the
// thread keeps its hooks and its clicks still count.
TEST_F(HookShareTest, RepeatedQuitAndDetachReleaseOneShareOnly) {
  m_key.Set("Popup", "2");
  host::HostWindow& first = Session().Open();
  host::HostWindow& second = Session().Open();
  first.browser()->FireOnQuit();
  first.browser()->FireOnQuit();
  ASSERT_TRUE(Session().Select(1));
  Session().Quit();
  ASSERT_TRUE(Session().Select(2));
  second.Navigate("http://example.com/");  // uses up the attach's click time
  ASSERT_TRUE(second.NewWindow()) << "without a click the window is blocked";
  Session().Click();
  Pump(100);
  EXPECT_FALSE(second.NewWindow()) << "the mouse hook of the thread still records clicks";
  Session().QuitAll();
  Pump(50);
  EXPECT_EQ(CallExport("DllCanUnloadNow"), S_OK);
}

// The browser may hold the event sink after the helper object has gone; the server's code must
// stay loaded while it does.
TEST_F(HookShareTest, SinkHeldByTheBrowserKeepsTheServerLoaded) {
  host::HostWindow& w = Session().Open();
  IDispatch* sink = w.browser()->TakeSink(0);
  ASSERT_NE(sink, nullptr);
  Session().QuitAll();
  Pump(50);
  EXPECT_EQ(CallExport("DllCanUnloadNow"), S_FALSE) << "a live sink is a live object of the module";
  sink->Release();
  EXPECT_EQ(CallExport("DllCanUnloadNow"), S_OK);
}

}  // namespace
}  // namespace vexbane::ext::testing
