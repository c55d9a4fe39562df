// Click classification of the mouse hook: presses and releases on each kind of window.
#include "core/hooks_click.h"

#include <gtest/gtest.h>

namespace vexbane::hooks {
namespace {

TEST(MouseClassName, TrimsAndUpperCases) {
  EXPECT_EQ(MouseClassName("  Internet Explorer_Server "), "INTERNET EXPLORER_SERVER");
  EXPECT_EQ(MouseClassName(""), "");
}

TEST(IsListedBrowserClass, MatchesAnyPartOfTheListInAnyCase) {
  struct Case { const char* name; bool listed; };
  const Case cases[] = {
      {"IEFRAME", true},         {"CABINETWCLASS", true},    {"TOOLBARWINDOW32", true},
      {"EDIT", true},            {"COMBOLBOX", true},         {"REBARWINDOW32", true},
      {"MSCTLS_STATUSBAR32", true},
      {"edit", true},            // letter case ignored
      {"FRAME", true},           // a part of an entry is listed too
      {"#EDIT#", true},
      {"", true},                // an unreadable class name counts as listed
      {"BUTTON", false},         {"INTERNET EXPLORER_SERVER", false}, {"SHELL DOCOBJECT VIEW", false},
      {"IEFRAMEX", false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsListedBrowserClass(c.name), c.listed) << c.name;
}

constexpr int32_t kBefore = 1000;
constexpr int32_t kNow = 5000;

struct PressCase {
  const char* rawName;
  int32_t clickAfter;
};

TEST(OnLeftButtonDown, RecordsOnlyPressesOnUnlistedNonBrowserWindows) {
  const PressCase cases[] = {
      {"Internet Explorer_Server", 0},   // the page: wait for the release
      {"INTERNET EXPLORER_HIDDEN", 0},
      {"Internet Explorer", kNow},       // exactly the prefix is not a page window
      {"Internet ExplorerX", 0},         // 18 characters with the prefix
      {"EDIT", 0},                       // the address bar
      {"ToolbarWindow32", 0},
      {"IEFrame", 0},
      {"", 0},
      {"Button", kNow},                  // a page's own control window
      {"Shell DocObject View", kNow},
  };
  for (const PressCase& c : cases) {
    ClickTimes t{kBefore, 77};
    OnLeftButtonDown(t, MouseClassName(c.rawName), kNow);
    EXPECT_EQ(t.lngClickTime, c.clickAfter) << c.rawName;
    EXPECT_EQ(t.lngButtonUpTime, 77) << "a press leaves the release time: " << c.rawName;
  }
}

TEST(OnLeftButtonUp, RecordsReleasesExceptOnListedAndHiddenWindows) {
  const PressCase cases[] = {
      {"Internet Explorer_Server", kNow},
      {"INTERNET EXPLORER_HIDDEN", 0},
      {"internet explorer_hidden", 0},
      {"Internet Explorer", kNow},
      {"EDIT", 0},
      {"ComboLBox", 0},
      {"msctls_statusbar32", 0},
      {"", 0},
      {"Button", kNow},
  };
  for (const PressCase& c : cases) {
    ClickTimes t{kBefore, 77};
    OnLeftButtonUp(t, MouseClassName(c.rawName), kNow);
    EXPECT_EQ(t.lngClickTime, c.clickAfter) << c.rawName;
    EXPECT_EQ(t.lngButtonUpTime, kNow) << "every release is recorded: " << c.rawName;
  }
}

TEST(MouseClicks, PageClickCountsOnReleaseOnly) {
  ClickTimes t;
  const std::string page = MouseClassName("Internet Explorer_Server");
  OnLeftButtonDown(t, page, 100);
  EXPECT_EQ(t.lngClickTime, 0);
  OnLeftButtonUp(t, page, 180);
  EXPECT_EQ(t.lngClickTime, 180);
  EXPECT_EQ(t.lngButtonUpTime, 180);
}

TEST(MouseClicks, PressOnToolbarClearsAnEarlierClick) {
  ClickTimes t{4000, 4000};
  OnLeftButtonDown(t, MouseClassName("ToolbarWindow32"), 4500);
  EXPECT_EQ(t.lngClickTime, 0);
}

}  // namespace
}  // namespace vexbane::hooks
