// The new-window decision through the stand-in browser: levels, time windows, Ctrl, allow
// list, settings fallbacks and the signal to the tray's button.
#include <gtest/gtest.h>

#include "HelperFixture.h"

namespace vexbane::ext::testing {
namespace {

class NewWindowTest : public BothBrowsersTest {};
VEXBANE_BOTH_BROWSERS(NewWindowTest);

// The attach sets the click time, so a window opened while the first page loads is wanted.
TEST_P(NewWindowTest, ClickTimeOfTheAttachLetsOneWindowThroughAndNoSecond) {
  m_key.Set("Popup", "2");
  host::HostWindow& w = Session().Open();
  EXPECT_FALSE(w.NewWindow());
  EXPECT_TRUE(w.NewWindow()) << "one click, one window";
}

TEST_P(NewWindowTest, FirstNavigationUsesUpTheAttachClickTime) {
  m_key.Set("Popup", "2");
  host::HostWindow& w = Session().Open();
  w.Navigate("http://example.com/");
  EXPECT_TRUE(w.NewWindow());
}

TEST_P(NewWindowTest, OnlyTheFirstNavigationOfAnObjectClearsTheClickTime) {
  m_key.Set("Popup", "2");
  host::HostWindow& first = Session().Open();
  first.Navigate("http://example.com/");
  // The second window's attach sets the thread's click time again; the first window's later
  // navigations leave it alone.
  host::HostWindow& second = Session().Open();
  first.Navigate("http://example.com/next");
  first.Navigate("http://example.com/third");
  EXPECT_FALSE(second.NewWindow());
}

TEST_P(NewWindowTest, TitleChangeClearsTheClickTime) {
  m_key.Set("Popup", "2");
  host::HostWindow& w = Session().Open();
  w.Title("Example");
  EXPECT_TRUE(w.NewWindow());
}

TEST_P(NewWindowTest, DefaultLevelTimeWindowWithWideMargins) {
  m_key.Set("Popup", "2");
  host::HostWindow& w = Session().Open();  // "CountIE" becomes 2: T = 700 ms
  Pump(250);
  EXPECT_FALSE(w.NewWindow());
  host::HostWindow& late = Session().Open();  // 3 windows: T = 800 ms
  Pump(1600);
  EXPECT_TRUE(late.NewWindow());
}

TEST_P(NewWindowTest, MissingPopupAndSoundReadOneLowLevelWithItsDoubledWindow) {
  host::HostWindow& w = Session().Open();  // level 1: T = 1400 ms
  Pump(1000);
  EXPECT_FALSE(w.NewWindow());
  m_key.Set("Popup", "2");
  host::HostWindow& w2 = Session().Open();  // level 2, 3 windows: T = 800 ms
  Pump(1000);
  EXPECT_TRUE(w2.NewWindow());
}

TEST_P(NewWindowTest, OtherLevelsActAsDefaultAndUnreadableLevelMeansOff) {
  m_key.Set("Popup", "5");
  host::HostWindow& w = Session().Open();
  Pump(1000);
  EXPECT_TRUE(w.NewWindow()) << "level 5 acts as 2 (T = 700 ms)";
  m_key.Set("Popup", "abc");
  EXPECT_FALSE(w.NewWindow()) << "a level that is no number stays 0: blocking off";
  EXPECT_FALSE(w.NewWindow());
}

TEST_P(NewWindowTest, HighLevelShortensTheWindow) {
  m_key.Set("Popup", "3");
  host::HostWindow& w = Session().Open();  // T = 467 ms
  Pump(650);
  EXPECT_TRUE(w.NewWindow());
}

TEST_P(NewWindowTest, CtrlLetsEveryWindowThroughAtEveryLevelAndUsesUpTheClick) {
  for (const char* level : {"0", "1", "2", "3", "4"}) {
    SCOPED_TRACE(std::string("level ") + level);
    m_key.Set("Popup", level);
    host::HostWindow& w = Session().Open();  // click time set by the attach
    Session().CtrlKey(true);
    EXPECT_FALSE(w.NewWindow());
    EXPECT_FALSE(w.NewWindow());
    Session().CtrlKey(false);
    // Without Ctrl the click time is gone at every level but 0, where nothing is blocked.
    EXPECT_EQ(w.NewWindow(), std::string(level) != "0");
    Session().Quit();
  }
}

TEST_P(NewWindowTest, AllowListIsTheOnlyWayThroughAtLevelFourButCtrl) {
  m_key.Set("Popup", "4");
  WriteFile("WebSite.dat", "2\r\nnews.example\r\nTRUSTED\r\n");
  host::HostWindow& w = Session().Open();
  EXPECT_TRUE(w.NewWindow()) << "right after the attach's click time: still blocked at level 4";
  w.Navigate("http://www.trusted.example/page");
  EXPECT_FALSE(w.NewWindow());
  EXPECT_FALSE(w.NewWindow());
  w.Navigate("http://elsewhere.example/");
  EXPECT_TRUE(w.NewWindow());
}

TEST_P(NewWindowTest, AllowListAlsoOverridesAMissingClickAtOtherLevels) {
  m_key.Set("Popup", "2");
  WriteFile("WebSite.dat", "1\r\nexample.com\r\n");
  host::HostWindow& w = Session().Open();
  w.Navigate("http://www.EXAMPLE.com/");
  EXPECT_FALSE(w.NewWindow());
  EXPECT_FALSE(w.NewWindow());
}

TEST_P(NewWindowTest, EachBlockPostsOneClickToTheTraysBlockButton) {
  m_key.Set("Popup", "4");
  ButtonWindow tray("Vexbane Tray Form", "Block");
  m_key.Set("hButton", tray.HandleText());
  host::HostWindow& w = Session().Open();
  EXPECT_TRUE(w.NewWindow());
  EXPECT_EQ(TakeClicks(tray.button()), 1);
  EXPECT_TRUE(w.NewWindow());
  EXPECT_TRUE(w.NewWindow());
  EXPECT_EQ(TakeClicks(tray.button()), 2);
  m_key.Set("Popup", "0");
  EXPECT_FALSE(w.NewWindow());
  EXPECT_EQ(TakeClicks(tray.button()), 0) << "no signal for an allowed window";
}

TEST_P(NewWindowTest, NoClickReachesAForeignButtonThatTookOverAStaleHandle) {
  m_key.Set("Popup", "4");
  ButtonWindow foreign("Some Other Program", "Block");
  m_key.Set("hButton", foreign.HandleText());
  host::HostWindow& w = Session().Open();
  EXPECT_TRUE(w.NewWindow());
  EXPECT_EQ(TakeClicks(foreign.button()), 0);

  // Once the tray publishes its button again, the stale handle is read afresh and the click
  // goes to the right window.
  ButtonWindow tray("Vexbane Tray Form", "Block");
  m_key.Set("hButton", tray.HandleText());
  EXPECT_TRUE(w.NewWindow());
  EXPECT_EQ(TakeClicks(foreign.button()), 0);
  EXPECT_EQ(TakeClicks(tray.button()), 1);
}

TEST_P(NewWindowTest, ButtonCaptionMustMatchTheSignal) {
  m_key.Set("Popup", "4");
  ButtonWindow formClose("Vexbane Tray Form", "Form Close");
  m_key.Set("hButton", formClose.HandleText());
  host::HostWindow& w = Session().Open();
  EXPECT_TRUE(w.NewWindow());
  EXPECT_EQ(TakeClicks(formClose.button()), 0) << "the block signal never goes to the exit button";
}

}  // namespace
}  // namespace vexbane::ext::testing

namespace vexbane::ext::testing {
namespace {

// The tray program that the attach starts publishes its handles a moment later: the first
// decision reads them again before anything else.
TEST_P(NewWindowTest, HandlesPublishedAfterTheAttachAreReadByTheFirstDecision) {
  m_key.Set("Popup", "4");
  m_key.Set("hForm", "0");
  host::HostWindow& w = Session().Open();
  ButtonWindow tray("Vexbane Tray Form", "Block");
  m_key.Set("hButton", tray.HandleText());
  EXPECT_TRUE(w.NewWindow());
  EXPECT_EQ(TakeClicks(tray.button()), 1);
}

}  // namespace
}  // namespace vexbane::ext::testing
