// The new-window decision rows, its time windows and the attach rules.
#include "core/newwindow_decision.h"
#include "core/newwindow_host.h"
#include "core/time_of_day.h"

#include <gtest/gtest.h>

#include <string>

namespace vexbane::newwindow {
namespace {

// Answers the decision's questions and records which ones were asked.
class FakeFacts : public Facts {
 public:
  bool onList = false, ctrl = false;
  int16_t count = 1;
  int32_t now = 0;
  std::string asked;
  bool PageOnAllowList() override { asked += "L"; return onList; }
  bool CtrlDown() override { asked += "C"; return ctrl; }
  int16_t CountIE() override { asked += "N"; return count; }
  int32_t Now() override { asked += "T"; return now; }
};

constexpr int32_t kNoon = 12 * 3600 * 1000;

struct Row {
  const char* name;
  int16_t level;
  bool onList, ctrl;
  int32_t clickAgo;  // -1: no click recorded
  bool block, clear;
  Reason reason;
  const char* asked;
};

class DecisionRows : public ::testing::TestWithParam<Row> {};

TEST_P(DecisionRows, FirstMatchingRowWins) {
  const Row& r = GetParam();
  FakeFacts f;
  f.onList = r.onList;
  f.ctrl = r.ctrl;
  f.now = kNoon;
  int32_t click = r.clickAgo < 0 ? 0 : kNoon - r.clickAgo;
  Decision d = Decide(r.level, click, false, f);
  EXPECT_EQ(d.block, r.block);
  EXPECT_EQ(d.clearClickTime, r.clear);
  EXPECT_EQ(d.reason, r.reason);
  EXPECT_EQ(f.asked, r.asked) << "questions asked, in order";
}

INSTANTIATE_TEST_SUITE_P(
    Table, DecisionRows,
    ::testing::Values(
        Row{"OffAllowsWithoutLookingAtAnything", 0, false, false, -1, false, false, Reason::LevelOff, ""},
        Row{"OffIgnoresAnOldClick", 0, false, false, 60000, false, false, Reason::LevelOff, ""},
        Row{"AllowListWinsAtLevel4", 4, true, false, -1, false, true, Reason::AllowList, "L"},
        Row{"AllowListWinsWithoutClick", 2, true, true, -1, false, true, Reason::AllowList, "L"},
        Row{"CtrlWinsAtLevel4", 4, false, true, -1, false, true, Reason::CtrlKey, "LC"},
        Row{"CtrlWinsAtLevel1", 1, false, true, 60000, false, true, Reason::CtrlKey, "LC"},
        Row{"Level4BlocksRightAfterAClick", 4, false, false, 10, true, true, Reason::BlockAll, "LC"},
        Row{"NoClickBlocks", 2, false, false, -1, true, true, Reason::NoClick, "LC"},
        Row{"NoClickBlocksAtLevel1", 1, false, false, -1, true, true, Reason::NoClick, "LC"},
        Row{"RecentClickAllows", 2, false, false, 500, false, true, Reason::RecentClick, "LCNT"},
        Row{"ClickExactlyAtTheLimitAllows", 2, false, false, 700, false, true, Reason::RecentClick, "LCNT"},
        Row{"ClickOneMsTooOldBlocks", 2, false, false, 701, true, true, Reason::LateClick, "LCNT"},
        Row{"Level1DoublesTheWindow", 1, false, false, 1400, false, true, Reason::RecentClick, "LCNT"},
        Row{"Level1StillHasALimit", 1, false, false, 1401, true, true, Reason::LateClick, "LCNT"},
        Row{"Level3ShortensTheWindow", 3, false, false, 467, false, true, Reason::RecentClick, "LCNT"},
        Row{"Level3BlocksWhatLevel2Allows", 3, false, false, 468, true, true, Reason::LateClick, "LCNT"},
        Row{"OtherLevelActsAsDefault", 5, false, false, 700, false, true, Reason::RecentClick, "LCNT"},
        Row{"OtherLevelActsAsDefaultPastTheLimit", 5, false, false, 701, true, true, Reason::LateClick, "LCNT"},
        Row{"NegativeLevelActsAsDefault", -3, false, false, 701, true, true, Reason::LateClick, "LCNT"}),
    [](const ::testing::TestParamInfo<Row>& info) { return std::string(info.param.name); });

TEST(Decision, ClickJustBeforeMidnightCountsTheTimeAcrossIt) {
  FakeFacts f;
  f.now = 100;  // 00:00:00.100
  Decision d = Decide(kDefault, vexbane::kMsPerDay - 100, false, f);
  EXPECT_FALSE(d.block);
  EXPECT_EQ(d.elapsedMs, 200);
}

TEST(Decision, ClickLongBeforeMidnightIsNotTakenAsRecent) {
  FakeFacts f;
  f.now = 5000;  // five seconds after midnight, click ten seconds before it
  Decision d = Decide(kDefault, vexbane::kMsPerDay - 10000, false, f);
  EXPECT_TRUE(d.block);
  EXPECT_EQ(d.elapsedMs, 15000);
}

TEST(Decision, DialogFrameWidensTheWindowAndCountComesFromTheFacts) {
  FakeFacts f;
  f.now = kNoon;
  f.count = 9;
  Decision d = Decide(kLow, kNoon - 3600, true, f);
  EXPECT_FALSE(d.block);
  EXPECT_EQ(d.windowMs, 3600);
  d = Decide(kLow, kNoon - 3601, true, f);
  EXPECT_TRUE(d.block);
}

struct WindowRow {
  int16_t level;
  bool dialog;
  int32_t expected[5];  // for the counts 1, 3, 5, 7, 9
};

class TimeWindows : public ::testing::TestWithParam<WindowRow> {};

TEST_P(TimeWindows, MatchTheTableForEveryBrowserCount) {
  const WindowRow& r = GetParam();
  const int16_t counts[5] = {1, 3, 5, 7, 9};
  for (int i = 0; i < 5; ++i)
    EXPECT_EQ(TimeWindowMs(r.level, counts[i], r.dialog), r.expected[i]) << "count " << counts[i];
}

INSTANTIATE_TEST_SUITE_P(
    Table, TimeWindows,
    ::testing::Values(WindowRow{1, false, {1400, 1600, 1800, 2000, 2400}},
                      WindowRow{1, true, {2100, 2400, 2700, 3000, 3600}},
                      WindowRow{2, false, {700, 800, 900, 1000, 1200}},
                      WindowRow{2, true, {1050, 1200, 1350, 1500, 1800}},
                      WindowRow{3, false, {467, 533, 600, 667, 800}},
                      WindowRow{3, true, {700, 800, 900, 1000, 1200}},
                      WindowRow{7, false, {700, 800, 900, 1000, 1200}},
                      WindowRow{7, true, {1050, 1200, 1350, 1500, 1800}}));

TEST(BaseWindow, StepsWithTheBrowserCount) {
  const struct { int16_t count; int32_t ms; } rows[] = {
      {0, 700}, {1, 700}, {2, 700}, {3, 800}, {4, 800}, {5, 900}, {6, 900},
      {7, 1000}, {8, 1000}, {9, 1200}, {100, 1200}, {32767, 1200}, {-1, 1200}, {-32768, 1200}};
  for (const auto& r : rows) EXPECT_EQ(BaseWindowMs(r.count), r.ms) << "count " << r.count;
}

TEST(Host, OnlyTheBrowserFrameClassIsAFrame) {
  EXPECT_TRUE(IsBrowserFrameClass("IEFrame"));
  EXPECT_TRUE(IsBrowserFrameClass("  ieframe "));
  EXPECT_FALSE(IsBrowserFrameClass("CabinetWClass"));
  EXPECT_FALSE(IsBrowserFrameClass("IEFrame2"));
  EXPECT_FALSE(IsBrowserFrameClass(""));
}

TEST(Host, CountGrowsByOneFromTheStoredText) {
  EXPECT_EQ(CountAfterAttach(0, "1"), 2);    // a missing value reads "1"
  EXPECT_EQ(CountAfterAttach(0, " 4 "), 5);
  EXPECT_EQ(CountAfterAttach(0, "-1"), 0);
  EXPECT_EQ(CountAfterAttach(0, "abc"), 1);  // not a number: the object's own count is the base
  EXPECT_EQ(CountAfterAttach(6, "99999"), 7);
  EXPECT_EQ(CountAfterAttach(0, "32767"), 32767);
}

}  // namespace
}  // namespace vexbane::newwindow

namespace vexbane::newwindow {
namespace {

TEST(Host, OnlyAButtonOfTheTrayFormIsTheTraysButton) {
  EXPECT_TRUE(IsTrayButton("Block", "Vexbane Tray Form", kBlockButtonCaption));
  EXPECT_TRUE(IsTrayButton("Form Close", "Vexbane Tray Form", kFormButtonCaption));
  EXPECT_FALSE(IsTrayButton("Block", "Vexbane Tray Form", kFormButtonCaption));
  EXPECT_FALSE(IsTrayButton("Block", "Some Other Form", kBlockButtonCaption));
  EXPECT_FALSE(IsTrayButton("block", "Vexbane Tray Form", kBlockButtonCaption));
  EXPECT_FALSE(IsTrayButton("OK", "", kBlockButtonCaption));
}

}  // namespace
}  // namespace vexbane::newwindow

namespace vexbane::newwindow {
namespace {

class HostFacts : public Facts {
 public:
  bool onList = false, ctrl = false, blockedHost = false;
  int32_t now = 12 * 3600 * 1000;
  std::string asked;
  bool PageOnAllowList() override { asked += "L"; return onList; }
  bool CtrlDown() override { asked += "C"; return ctrl; }
  int16_t CountIE() override { asked += "N"; return 1; }
  int32_t Now() override { asked += "T"; return now; }
  bool TargetOnBlockedHosts() override { asked += "H"; return blockedHost; }
};

TEST(BlockedHostDecision, BlockedRightAfterAClickAtEveryLevelButOffAndKeepsTheClick) {
  for (int16_t level : {kLow, kDefault, kHigh, kAll, int16_t{7}}) {
    HostFacts f;
    f.blockedHost = true;
    f.onList = true;  // the allow list speaks of the page: it does not open a listed host
    Decision d = Decide(level, f.now - 10, false, f);
    EXPECT_TRUE(d.block) << "level " << level;
    EXPECT_EQ(d.reason, Reason::BlockedHost);
    EXPECT_FALSE(d.clearClickTime) << "the click stays for the window the user wanted";
    EXPECT_EQ(f.asked, "LHC") << "the page is still read first, then the target, then Ctrl";
    EXPECT_EQ(ReasonText(d.reason), "blocked host");
  }
  HostFacts off;
  off.blockedHost = true;
  EXPECT_FALSE(Decide(kOff, 0, false, off).block);
  EXPECT_EQ(off.asked, "") << "level 0 asks nothing";
}

TEST(BlockedHostDecision, CtrlOpensAListedHostAndUsesUpTheClick) {
  HostFacts f;
  f.blockedHost = true;
  f.ctrl = true;
  Decision d = Decide(kAll, f.now - 10, false, f);
  EXPECT_FALSE(d.block);
  EXPECT_EQ(d.reason, Reason::CtrlKey);
  EXPECT_TRUE(d.clearClickTime);
}

TEST(BlockedHostDecision, AnUnlistedTargetLeavesTodaysRule) {
  HostFacts f;
  Decision d = Decide(kDefault, f.now - 100, false, f);
  EXPECT_FALSE(d.block);
  EXPECT_EQ(d.reason, Reason::RecentClick);
  EXPECT_EQ(f.asked, "LHCNT");
  HostFacts listed;
  listed.onList = true;
  d = Decide(kAll, 0, false, listed);
  EXPECT_FALSE(d.block);
  EXPECT_EQ(d.reason, Reason::AllowList);
}


// NewWindow3's flags: the browser's own word on the request.
TEST(BrowserWordDecision, TheUsersRequestOpensAsWithCtrlAtEveryLevelEvenToABlockedHost) {
  for (int16_t level : {kLow, kDefault, kHigh, kAll, int16_t{7}}) {
    for (bool blockedHost : {false, true}) {
      HostFacts f;
      f.blockedHost = blockedHost;
      Decision d = Decide(level, 0, false, f, BrowserWord::UserAsked);
      EXPECT_FALSE(d.block) << "level " << level << (blockedHost ? ", blocked host" : "");
      EXPECT_EQ(d.reason, Reason::UserAsked);
      EXPECT_TRUE(d.clearClickTime) << "as Ctrl, it uses up the click";
      EXPECT_EQ(f.asked, "L") << "the page address is still refreshed, nothing else is asked";
    }
  }
  HostFacts off;
  Decision d = Decide(kOff, 0, false, off, BrowserWord::UserAsked);
  EXPECT_FALSE(d.block);
  EXPECT_EQ(d.reason, Reason::LevelOff);
  EXPECT_FALSE(d.clearClickTime);
}

TEST(BrowserWordDecision, APageClosingIsJudgedAsWithoutAClickAndKeepsTheClick) {
  for (int16_t level : {kLow, kDefault, kHigh, kAll}) {
    HostFacts f;
    Decision d = Decide(level, f.now - 10, false, f, BrowserWord::PageClosing);
    EXPECT_TRUE(d.block) << "level " << level << ": right after a click";
    EXPECT_EQ(d.reason, Reason::PageClosing);
    EXPECT_EQ(ReasonText(d.reason), "page closing");
    EXPECT_FALSE(d.clearClickTime) << "the click that left the page was not for this window";
    EXPECT_EQ(f.asked, "LHC");
  }
  HostFacts listed;
  listed.onList = true;
  EXPECT_FALSE(Decide(kLow, 0, false, listed, BrowserWord::PageClosing).block) << "the allow list still opens it";
  HostFacts ctrl;
  ctrl.ctrl = true;
  Decision d = Decide(kAll, 0, false, ctrl, BrowserWord::PageClosing);
  EXPECT_FALSE(d.block) << "Ctrl still opens it";
  EXPECT_EQ(d.reason, Reason::CtrlKey);
  HostFacts off;
  EXPECT_FALSE(Decide(kOff, 0, false, off, BrowserWord::PageClosing).block) << "\"Allow Popup\" still opens it";
  HostFacts host;
  host.blockedHost = true;
  EXPECT_EQ(Decide(kLow, 0, false, host, BrowserWord::PageClosing).reason, Reason::BlockedHost)
      << "a listed host keeps its own reason";
}

TEST(BrowserWordDecision, NoWordLeavesTodaysRule) {
  HostFacts f;
  Decision d = Decide(kDefault, f.now - 100, false, f, BrowserWord::None);
  EXPECT_FALSE(d.block);
  EXPECT_EQ(d.reason, Reason::RecentClick);
}

}  // namespace
}  // namespace vexbane::newwindow
