// The browser recount at quit: the "I" rule on program paths, the plan and the "AutoClean" rule.
#include "core/quit_count.h"

#include <gtest/gtest.h>

namespace vexbane::quit {
namespace {

TEST(CountsAsBrowser, ProgramFileAfterTheLastBackslashOfTheTail) {
  struct Case { const char* fullName; bool counted; };
  const Case cases[] = {
      {"C:\\Program Files\\Internet Explorer\\IEXPLORE.EXE", true},
      {"C:\\Program Files\\Internet Explorer\\iexplore.exe", true},
      {"  C:\\Program Files\\Internet Explorer\\IEXPLORE.EXE  ", true},
      {"C:\\WINDOWS\\EXPLORER.EXE", false},
      {"C:\\Windows\\explorer.exe", false},
      {"IEXPLORE.EXE", true},                  // shorter than 20: the whole path
      {"C:\\IE.EXE", true},
      {"C:\\X\\NOTEPAD.EXE", false},
      // Only the last 20 characters are looked at: a long file name is cut at its front.
      {"C:\\Program Files\\Tools\\IBCDEFGHIJKLMNOPQRS.EXE", false},  // tail "DEFG...S.EXE"
      {"C:\\Program Files\\Tools\\ABCIEFGHIJKLMNOPQRS.EXE", true},   // tail "IEFG...S.EXE"
      {"C:\\DIR\\", false},                    // nothing after the last backslash
      {"", false},
  };
  for (const Case& c : cases) EXPECT_EQ(CountsAsBrowser(c.fullName), c.counted) << c.fullName;
}

TEST(PlanQuit, CountsTheOthersAndMarksTheLastWindow) {
  struct Case { int16_t listed; int16_t countIE; bool last; };
  const Case cases[] = {{1, 0, true}, {2, 1, false}, {5, 4, false}, {0, -1, true}};
  for (const Case& c : cases) {
    QuitPlan p = PlanQuit(c.listed, 9);
    EXPECT_TRUE(p.writeCount);
    EXPECT_EQ(p.countIE, c.countIE) << c.listed;
    EXPECT_EQ(p.lastWindow, c.last) << c.listed;
  }
}

// Two windows quitting at the same moment each leave the other out of the count; the one that
// began to quit first still sees the later one listed and leaves the session to it.
TEST(PlanQuit, OnlyTheWindowThatBeganToQuitLastEndsTheSession) {
  QuitPlan first = PlanQuit(int16_t{1}, 2, true);
  EXPECT_TRUE(first.writeCount);
  EXPECT_EQ(first.countIE, 0);
  EXPECT_FALSE(first.lastWindow);
  QuitPlan last = PlanQuit(int16_t{1}, 2, false);
  EXPECT_EQ(last.countIE, 0);
  EXPECT_TRUE(last.lastWindow);
  QuitPlan others = PlanQuit(int16_t{2}, 2, true);
  EXPECT_EQ(others.countIE, 1);
  EXPECT_FALSE(others.lastWindow);
}

TEST(PlanQuit, NoCollectionLeavesCountSignalAndCleaningAlone) {
  QuitPlan p = PlanQuit(std::nullopt, 3);
  EXPECT_FALSE(p.writeCount);
  EXPECT_FALSE(p.lastWindow);
  EXPECT_EQ(p.countIE, 3);
}

TEST(ShouldCleanCookies, OnlyOneCleans) {
  struct Case { const char* text; bool clean; };
  const Case cases[] = {{"1", true}, {" 1 ", true}, {"+1", true}, {"0", false}, {"2", false},
                        {"-1", false}, {"yes", false}, {"", false}, {"70000", false}};
  for (const Case& c : cases) EXPECT_EQ(ShouldCleanCookies(c.text), c.clean) << c.text;
}

}  // namespace
}  // namespace vexbane::quit
