// The message hook's state machine: scan messages, WM_USER bursts and the 5000 ms span.
#include "core/hooks_messages.h"

#include <gtest/gtest.h>

#include <vector>

#include "core/time_of_day.h"

namespace vexbane::hooks {
namespace {

TEST(IsNegativeHookCode, OnlyTheLowSixteenBitsCount) {
  struct Case { int32_t code; bool negative; };
  const Case cases[] = {{0, false}, {3, false}, {-1, true}, {0x7FFF, false}, {0x8000, true},
                        {0x10000, false}, {0x1FFFF, true}, {-65536, false}, {0x00018000, true}};
  for (const Case& c : cases) EXPECT_EQ(IsNegativeHookCode(c.code), c.negative) << c.code;
}

TEST(ClassifyHookMessage, OnlyTheTwoNumbersAreLookedAt) {
  EXPECT_EQ(ClassifyHookMessage(0x0491), HookMessage::Scan);
  EXPECT_EQ(ClassifyHookMessage(0x0400), HookMessage::User);
  for (uint32_t other : {0x0000u, 0x0010u, 0x0201u, 0x0401u, 0x0490u, 0x0492u, 0x10400u, 0x10491u})
    EXPECT_EQ(ClassifyHookMessage(other), HookMessage::Other) << other;
}

TEST(OnScanMessage, StampsTheTimeAndScansOnlyWhenADialogExists) {
  DialogWatch w{4, 100};
  WatchStep s = OnScanMessage(w, true, 2000);
  EXPECT_TRUE(s.scan);
  EXPECT_FALSE(s.clearDialogList);
  EXPECT_EQ(w.lngDialogMsgTime, 2000);
  EXPECT_EQ(w.intUserMsgCount, 4) << "a scan message does not restart the burst";

  s = OnScanMessage(w, false, 3000);
  EXPECT_FALSE(s.scan);
  EXPECT_TRUE(s.clearDialogList);
  EXPECT_EQ(w.lngDialogMsgTime, 3000);
}

TEST(OnUserMessage, TwentyMessagesInsideTheSpanScanAtTheListedCounts) {
  DialogWatch w{0, 10000};
  std::vector<int> scannedAt;
  std::vector<int> tridentCleared;
  for (int i = 1; i <= 20; ++i) {
    WatchStep s = OnUserMessage(w, true, 10000 + i * 100);
    if (s.scan) scannedAt.push_back(i);
    if (s.clearTridentDlg) tridentCleared.push_back(i);
    EXPECT_FALSE(s.clearDialogList);
  }
  // The 16th starts over, so the 17th counts as 1 again and the 19th as 3.
  EXPECT_EQ(scannedAt, (std::vector<int>{1, 3, 5, 8, 11, 17, 19}));
  EXPECT_EQ(tridentCleared, (std::vector<int>{2, 4, 6, 7, 9, 10, 12, 13, 14, 15, 16, 18, 20}));
  EXPECT_EQ(w.intUserMsgCount, 4);
}

TEST(OnUserMessage, CountTableFromOneToSixteen) {
  for (int16_t before = 0; before < 16; ++before) {
    DialogWatch w{before, 50000};
    WatchStep s = OnUserMessage(w, true, 51000);
    const int16_t count = static_cast<int16_t>(before + 1);
    EXPECT_EQ(s.scan, IsScanCount(count)) << count;
    EXPECT_EQ(s.clearTridentDlg, !IsScanCount(count)) << count;
    EXPECT_EQ(w.intUserMsgCount, count == 16 ? 0 : count);
  }
}

TEST(OnUserMessage, TheSpanOfFiveSecondsIncludesItsEnd) {
  struct Case { int32_t after; bool counted; };
  const Case cases[] = {{0, true}, {4999, true}, {5000, true}, {5001, false}, {6000, false}};
  for (const Case& c : cases) {
    DialogWatch w{2, 20000};
    WatchStep s = OnUserMessage(w, true, 20000 + c.after);
    EXPECT_EQ(w.intUserMsgCount, c.counted ? 3 : 0) << c.after;
    EXPECT_EQ(s.scan, c.counted) << c.after;
    EXPECT_FALSE(s.clearDialogList);
  }
}

TEST(OnUserMessage, SpanIsMeasuredAcrossMidnight) {
  DialogWatch w{0, TimeOfDayFromParts(23, 59, 58, 0)};
  WatchStep s = OnUserMessage(w, true, TimeOfDayFromParts(0, 0, 1, 0));
  EXPECT_TRUE(s.scan);
  EXPECT_EQ(w.intUserMsgCount, 1);

  // An hour later is outside, though the plain difference is negative.
  w = DialogWatch{0, TimeOfDayFromParts(23, 0, 0, 0)};
  s = OnUserMessage(w, true, TimeOfDayFromParts(0, 0, 1, 0));
  EXPECT_FALSE(s.scan);
  EXPECT_EQ(w.intUserMsgCount, 0);
}

TEST(OnUserMessage, NoDialogWindowResetsTheCountAndEmptiesTheList) {
  DialogWatch w{7, 1000};
  WatchStep s = OnUserMessage(w, false, 1500);
  EXPECT_FALSE(s.scan);
  EXPECT_TRUE(s.clearDialogList);
  EXPECT_EQ(w.intUserMsgCount, 0);
  EXPECT_EQ(w.lngDialogMsgTime, 1000);
}

}  // namespace
}  // namespace vexbane::hooks
