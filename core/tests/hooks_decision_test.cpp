// The dialog decision: level, Ctrl, allow list, the time windows after a release, close orders.
#include "core/hooks_decision.h"

#include <gtest/gtest.h>

#include "core/time_of_day.h"

namespace vexbane::hooks {
namespace {

class FakeFacts : public DialogFacts {
 public:
  FakeFacts(bool ctrl, bool allowed) : m_ctrl(ctrl), m_allowed(allowed) {}
  bool CtrlDown() override { ++ctrlAsked; return m_ctrl; }
  bool OnAllowList() override { ++allowListAsked; return m_allowed; }
  int ctrlAsked = 0;
  int allowListAsked = 0;

 private:
  bool m_ctrl;
  bool m_allowed;
};

constexpr auto kScan = DialogTrigger::ScanMessage;
constexpr auto kUser = DialogTrigger::UserMessage;

TEST(DialogTimeWindow, TableByLevelAndMessage) {
  struct Case { int16_t level; std::optional<int32_t> scan; std::optional<int32_t> user; };
  const Case cases[] = {
      {1, 5000, 5000}, {2, 3500, 3000}, {3, 2000, 3000}, {4, std::nullopt, std::nullopt},
      {5, 3500, 3000}, {-1, 3500, 3000}, {100, 3500, 3000},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DialogTimeWindow(c.level, kScan), c.scan) << c.level;
    EXPECT_EQ(DialogTimeWindow(c.level, kUser), c.user) << c.level;
  }
}

TEST(DecideDialog, ReleaseAgeAgainstTheWindow) {
  constexpr int32_t kNow = 50000000;
  struct Case { int16_t level; DialogTrigger trigger; int32_t sinceRelease; bool close; };
  const Case cases[] = {
      {2, kScan, 3000, false}, {2, kScan, 3500, false}, {2, kScan, 3501, true}, {2, kScan, 4000, true},
      {2, kUser, 3000, false}, {2, kUser, 3001, true},
      {3, kScan, 2000, false}, {3, kScan, 2001, true}, {3, kScan, 2500, true},
      {3, kUser, 2500, false}, {3, kUser, 3000, false}, {3, kUser, 3001, true},
      {1, kScan, 5000, false}, {1, kScan, 5001, true}, {1, kUser, 4999, false},
      {7, kScan, 3400, false}, {7, kScan, 3600, true},
      {2, kScan, 0, false},
  };
  for (const Case& c : cases) {
    FakeFacts facts(false, false);
    DialogVerdict v = DecideDialog(c.level, c.trigger, kNow, kNow - c.sinceRelease, facts);
    EXPECT_EQ(v.close, c.close) << c.level << " " << c.sinceRelease;
    EXPECT_TRUE(v.clearButtonUpTime) << "a timed decision uses up the release, left or closed";
  }
}

TEST(DecideDialog, NoReleaseRecordedIsOutsideEveryWindow) {
  for (int16_t level : {1, 2, 3}) {
    for (DialogTrigger trigger : {kScan, kUser}) {
      FakeFacts facts(false, false);
      // Just after midnight a plain subtraction from 0 would be tiny and leave the dialog.
      DialogVerdict v = DecideDialog(level, trigger, 800, 0, facts);
      EXPECT_TRUE(v.close) << level;
    }
  }
}

TEST(DecideDialog, ReleaseJustBeforeMidnightCountsAsRecent) {
  FakeFacts facts(false, false);
  DialogVerdict v = DecideDialog(2, kScan, TimeOfDayFromParts(0, 0, 1, 0), TimeOfDayFromParts(23, 59, 59, 0), facts);
  EXPECT_FALSE(v.close);
  // An hour-old release across midnight is old, though the plain difference is negative.
  v = DecideDialog(2, kScan, TimeOfDayFromParts(0, 30, 0, 0), TimeOfDayFromParts(23, 30, 0, 0), facts);
  EXPECT_TRUE(v.close);
}

TEST(DecideDialog, LevelZeroLooksAtNothingElse) {
  FakeFacts facts(false, false);
  DialogVerdict v = DecideDialog(0, kScan, 90000, 0, facts);
  EXPECT_FALSE(v.close);
  EXPECT_FALSE(v.clearButtonUpTime);
  EXPECT_EQ(facts.ctrlAsked, 0);
  EXPECT_EQ(facts.allowListAsked, 0);
}

TEST(DecideDialog, CtrlAndAllowListLeaveTheDialogAtEveryOtherLevel) {
  for (int16_t level : {1, 2, 3, 4}) {
    FakeFacts ctrl(true, false);
    DialogVerdict v = DecideDialog(level, kUser, 90000, 0, ctrl);
    EXPECT_FALSE(v.close) << level;
    EXPECT_FALSE(v.clearButtonUpTime);
    EXPECT_EQ(ctrl.allowListAsked, 0) << "Ctrl decides before the list is read";

    FakeFacts allowed(false, true);
    v = DecideDialog(level, kUser, 90000, 0, allowed);
    EXPECT_FALSE(v.close) << level;
    EXPECT_FALSE(v.clearButtonUpTime);
  }
}

TEST(DecideDialog, LevelFourClosesAtOnceInOrderAAndKeepsTheRelease) {
  for (DialogTrigger trigger : {kScan, kUser}) {
    FakeFacts facts(false, false);
    DialogVerdict v = DecideDialog(4, trigger, 90000, 89999, facts);
    EXPECT_TRUE(v.close);
    EXPECT_EQ(v.order, kCloseOrderA);
    EXPECT_FALSE(v.clearButtonUpTime);
  }
}

TEST(DecideDialog, CloseOrderFollowsTheMessage) {
  FakeFacts facts(false, false);
  EXPECT_EQ(DecideDialog(2, kScan, 90000, 10, facts).order, kCloseOrderA);
  EXPECT_EQ(DecideDialog(2, kUser, 90000, 10, facts).order, kCloseOrderB);
  EXPECT_EQ(kCloseOrderA, (CloseOrder{CloseStep::CloseDialog, CloseStep::SignalTray, CloseStep::PlaySound}));
  EXPECT_EQ(kCloseOrderB, (CloseOrder{CloseStep::PlaySound, CloseStep::CloseDialog, CloseStep::SignalTray}));
}

}  // namespace
}  // namespace vexbane::hooks
