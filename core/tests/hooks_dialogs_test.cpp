// Dialog scan bookkeeping: entries, whole-entry matching against the old list, successive scans.
#include "core/hooks_dialogs.h"

#include <gtest/gtest.h>

namespace vexbane::hooks {
namespace {

TEST(IsDialogClass, ExactClassNameAfterTrimming) {
  EXPECT_TRUE(IsDialogClass("Internet Explorer_TridentDlgFrame"));
  EXPECT_TRUE(IsDialogClass(" Internet Explorer_TridentDlgFrame  "));
  EXPECT_FALSE(IsDialogClass("INTERNET EXPLORER_TRIDENTDLGFRAME"));
  EXPECT_FALSE(IsDialogClass("Internet Explorer_TridentDlgFrame2"));
  EXPECT_FALSE(IsDialogClass(""));
}

TEST(DialogEntry, SignedDecimalHandleAndSeparator) {
  EXPECT_EQ(DialogEntry(123), "123@");
  EXPECT_EQ(DialogEntry(-5), "-5@");
  EXPECT_EQ(DialogEntry(0), "0@");
}

TEST(ListHoldsEntry, MatchesWholeEntriesOnly) {
  struct Case { const char* list; const char* entry; bool held; };
  const Case cases[] = {
      {"123@", "123@", true},
      {"123@", "23@", false},       // the tail of a longer handle is another window
      {"123@", "3@", false},
      {"5@123@", "23@", false},
      {"5@23@", "23@", true},
      {"23@5@", "23@", true},
      {"-23@", "23@", false},       // a negative handle is another window too
      {"-23@", "-23@", true},
      {"", "23@", false},
      {"1234@", "123@", false},
  };
  for (const Case& c : cases) EXPECT_EQ(ListHoldsEntry(c.list, c.entry), c.held) << c.list << " / " << c.entry;
}

// The two lists of the thread's state, as the scan keeps them.
struct Lists {
  std::string strDialogList;
  std::string strOldDialogList;
  void Begin() { BeginDialogScan(strDialogList, strOldDialogList); }
  bool Add(int32_t handle) { return AddScannedDialog(strDialogList, strOldDialogList, handle); }
};

TEST(DialogScanLists, HandleTwentyThreeIsNewAfterOneHundredTwentyThree) {
  Lists lists;
  lists.Begin();
  EXPECT_TRUE(lists.Add(123));
  lists.Begin();
  EXPECT_FALSE(lists.Add(123));
  EXPECT_TRUE(lists.Add(23));
  EXPECT_EQ(lists.strDialogList, "123@23@");
  EXPECT_EQ(lists.strOldDialogList, "123@");
}

TEST(DialogScanLists, EachScanReplacesTheListByWhatExistsNow) {
  Lists lists;
  lists.Begin();
  EXPECT_TRUE(lists.Add(40));
  lists.Begin();
  EXPECT_FALSE(lists.Add(40));
  EXPECT_TRUE(lists.Add(50));  // the second dialog beside the first
  lists.Begin();                    // the first has closed
  EXPECT_FALSE(lists.Add(50));
  EXPECT_EQ(lists.strDialogList, "50@");
  lists.Begin();                    // no dialog at all
  EXPECT_EQ(lists.strOldDialogList, "50@");
  EXPECT_EQ(lists.strDialogList, "");
  lists.Begin();
  EXPECT_TRUE(lists.Add(50)) << "gone for a whole scan, it counts as new again";
}

}  // namespace
}  // namespace vexbane::hooks

namespace vexbane::hooks {
namespace {

TEST(DialogListHandles, EveryEntryInTheListsOrder) {
  EXPECT_EQ(DialogListHandles("123@-5@70@"), (std::vector<int32_t>{123, -5, 70}));
  EXPECT_EQ(DialogListHandles(""), std::vector<int32_t>{});
  EXPECT_EQ(DialogListHandles(DialogEntry(2147483647) + DialogEntry(-2147483647 - 1)),
            (std::vector<int32_t>{2147483647, -2147483647 - 1}));
}

}  // namespace
}  // namespace vexbane::hooks
