// Keys as clicks and the browser's own word, through the stand-in browser with real input:
// Enter and Space reach the thread's keyboard hook through SendInput, NewWindow3 carries the flags.
#include <gtest/gtest.h>

#include "HelperFixture.h"
#include "RecordingTray.h"

namespace vexbane::ext::testing {
namespace {

using blocks::BlockReason;

host::KeyChord Chord(const char* name) {
  host::KeyChord chord;
  EXPECT_TRUE(host::KeyChordFromName(name, chord)) << name;
  return chord;
}

class KeyClickTest : public BothBrowsersTest {
 protected:
  // A window whose first navigation used up the attach's click time: nothing the user did yet.
  host::HostWindow& Page(const char* level) {
    m_key.Set("Popup", level);
    m_key.Set("Sound", "2");
    host::HostWindow& w = Session().Open();
    w.Navigate("http://shop.example/basket");
    return w;
  }
  void Press(const char* name) { Session().Key(Chord(name), true, true); }
};
VEXBANE_BOTH_BROWSERS(KeyClickTest);

TEST_P(KeyClickTest, EnterOnALinkOpensTheWindowItAsksForAndNoSecond) {
  host::HostWindow& w = Page("2");
  EXPECT_TRUE(w.NewWindow()) << "no click yet";
  Press("enter");
  EXPECT_FALSE(w.NewWindow()) << "Enter on a link (target=_blank) or in a form is the user's act";
  EXPECT_TRUE(w.NewWindow()) << "one key, one window";
}

TEST_P(KeyClickTest, SpaceOnAButtonCountsWhenItComesUp) {
  host::HostWindow& w = Page("2");
  Press("tab");
  Session().Key(Chord("space"), true, false);
  EXPECT_TRUE(w.NewWindow()) << "a Space held down has not pressed the button yet";
  Session().Key(Chord("space"), false, true);
  EXPECT_FALSE(w.NewWindow());
  EXPECT_TRUE(w.NewWindow());
}

TEST_P(KeyClickTest, TypingNavigationAndAltKeysNeverCount) {
  host::HostWindow& w = Page("1");
  for (const char* name : {"a", "7", "tab", "left", "down", "escape", "f5", "backspace", "alt+enter", "shift+a"}) {
    Press(name);
    EXPECT_TRUE(w.NewWindow()) << name << " is no click";
  }
  // A letter typed into a text box, then a Space between the words.
  Press("h");
  Press("space");
  EXPECT_TRUE(w.NewWindow()) << "a Space typed after a letter separates words";
  Press("i");
  Press("enter");
  EXPECT_FALSE(w.NewWindow()) << "Enter submits what was typed";
}

TEST_P(KeyClickTest, AnAutoRepeatedEnterCountsOnce) {
  host::HostWindow& w = Page("2");
  Session().Key(Chord("enter"), true, false);
  EXPECT_FALSE(w.NewWindow());
  Session().Key(Chord("enter"), true, false);  // the key held: the system repeats it
  Session().Key(Chord("enter"), true, false);
  EXPECT_TRUE(w.NewWindow()) << "a held key is one press";
  Session().Key(Chord("enter"), false, true);
  EXPECT_TRUE(w.NewWindow()) << "Enter counts when it goes down, not when it comes up";
}

TEST_P(KeyClickTest, AKeyKeepsTheLevelsTimeWindowsAndLevelFour) {
  host::HostWindow& w = Page("3");  // T = 467 ms (two windows: the stand-in's count)
  Press("enter");
  Pump(900);
  EXPECT_TRUE(w.NewWindow()) << "late: Enter is a click, not more";
  m_key.Set("Popup", "4");
  Press("enter");
  EXPECT_TRUE(w.NewWindow()) << "level 4 blocks all";
  Session().CtrlKey(true);
  Press("enter");
  EXPECT_FALSE(w.NewWindow()) << "Ctrl keeps its rule";
  Session().CtrlKey(false);
}

TEST_P(KeyClickTest, AnHtmlDialogRightAfterEnterIsLeftOpen) {
  host::HostWindow& w = Page("2");
  // A first dialog uses up any release an earlier case left on this thread.
  w.OpenDialog();
  Session().Post(0x0491);
  if (w.DialogExists()) w.CloseDialog();
  Pump(50);
  w.OpenDialog();
  Session().Post(0x0491);
  EXPECT_FALSE(w.DialogExists()) << "no key, no click: the dialog is closed";
  Press("enter");
  w.OpenDialog();
  Session().Post(0x0491);
  EXPECT_TRUE(w.DialogExists()) << "the key counts as the button's release for dialogs too";
  if (w.DialogExists()) w.CloseDialog();
}

// NewWindow3's flags: IE 6 SP2 and later; IE 6 before SP2 raises no NewWindow3, so the same
// requests are judged as before.
class BrowserWordTest : public BothBrowsersTest {
 protected:
  bool Sp2() const { return GetParam() == host::EventOrder::NewWindow3Then2; }
};
VEXBANE_BOTH_BROWSERS(BrowserWordTest);

constexpr long kScript = 0x0002 | 0x0004;  // what the stand-in sets for a page's window
constexpr long kUserRequested = 0x80;
constexpr long kUserAllowed = 0x100;
constexpr long kUnloading = 0x1;

TEST_P(BrowserWordTest, TheUsersRequestOpensAtLevelFourAndToABlockedHost) {
  m_key.Set("Popup", "4");
  WriteFile("BlockedHost.dat", "1\r\nads.example\r\n");
  host::HostWindow& w = Session().Open();
  w.Navigate("http://news.example/");
  EXPECT_EQ(w.NewWindow(host::kDefaultPopupUrl, kScript | kUserRequested), !Sp2()) << "Shift+click";
  EXPECT_EQ(w.NewWindow(host::kDefaultPopupUrl, kScript | kUserAllowed), !Sp2()) << "the information bar";
  EXPECT_EQ(w.NewWindow("http://x.ads.example/", kUserRequested), !Sp2()) << "as Ctrl, even to a blocked host";
  EXPECT_TRUE(w.NewWindow(host::kDefaultPopupUrl, kScript)) << "the page's own request is still blocked";
  m_key.Set("Popup", "0");
  EXPECT_FALSE(w.NewWindow(host::kDefaultPopupUrl, kScript | kUnloading)) << "\"Allow Popup\" unchanged";
  RemoveFile("BlockedHost.dat");
}

TEST_P(BrowserWordTest, AnExitPopUpRightAfterAClickIsBlockedAsPageClosingAndLeavesTheClick) {
  RecordingTray tray;
  m_key.Set("hButton", tray.HandleText());
  m_key.Set("Popup", "1");
  m_key.Set("Sound", "2");
  host::HostWindow& w = Session().Open();
  w.Navigate("http://leaving.example/");
  Session().Click();  // the user clicks the link that leaves the page
  EXPECT_EQ(w.NewWindow(host::kDefaultPopupUrl, kScript | kUnloading), Sp2());
  if (Sp2()) {
    ASSERT_EQ(tray.received().size(), 1u);
    EXPECT_EQ(tray.received()[0].record.reason, BlockReason::PageClosing);
    EXPECT_EQ(blocks::ReasonText(tray.received()[0].record.reason), "page closing");
    EXPECT_FALSE(w.NewWindow()) << "the click was not used up by the exit pop-up";
  } else {
    EXPECT_TRUE(tray.received().empty());
  }
  // The allow list and Ctrl still open it.
  Session().CtrlKey(true);
  EXPECT_FALSE(w.NewWindow(host::kDefaultPopupUrl, kScript | kUnloading));
  Session().CtrlKey(false);
  WriteFile("WebSite.dat", "1\r\nleaving.example\r\n");
  EXPECT_FALSE(w.NewWindow(host::kDefaultPopupUrl, kScript | kUnloading));
  RemoveFile("WebSite.dat");
  TakeClicks(tray.button());
}

}  // namespace
}  // namespace vexbane::ext::testing
