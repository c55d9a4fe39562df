// The uninstaller's pass loop over a fake window collection: passes, quit calls, pauses, warning.
#include "core/unhitch_passes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vexbane::unhitch {
namespace {

constexpr int kNeverCloses = -1;

// A browser window that loses its title after a given number of quit requests.
struct FakeWindow final : ShellWindow {
  FakeWindow(int title, int quitsToClose, bool frame, std::vector<std::string>& log, int index)
      : titleLength(title), quitsLeft(quitsToClose), isFrame(frame), m_log(log), m_index(index) {}
  int TitleLength() noexcept override {
    m_log.push_back("title" + std::to_string(m_index));
    return titleLength;
  }
  void Quit() noexcept override {
    m_log.push_back("quit" + std::to_string(m_index));
    ++quits;
    if (quitsLeft > 0 && --quitsLeft == 0) titleLength = 0;
  }
  bool Open() const { return titleLength > 0; }

  int titleLength;
  int quitsLeft;
  bool isFrame;
  int quits = 0;

 private:
  std::vector<std::string>& m_log;
  int m_index;
};

struct FakeSystem final : CloseBrowsersPort {
  void Add(int title, int quitsToClose, bool frame = true) {
    windows.emplace_back(title, quitsToClose, frame, log, static_cast<int>(windows.size()));
  }
  void WalkShellWindows(const std::function<bool(ShellWindow&)>& visit) noexcept override {
    ++walks;
    log.push_back("walk");
    for (auto& w : windows)
      if (!visit(w)) return;
  }
  void Pause(uint32_t ms) noexcept override { log.push_back("pause" + std::to_string(ms)); }
  bool FrameWindowExists() noexcept override {
    log.push_back("find");
    if (frameOutsideCollection) return true;
    for (auto& w : windows)
      if (w.isFrame && w.Open()) return true;
    return false;
  }
  void ShowWarning() noexcept override { log.push_back("warn"); }

  std::vector<FakeWindow> windows;
  std::vector<std::string> log;
  bool frameOutsideCollection = false;
  int walks = 0;
};

TEST(UnhitchPasses, NoWindowsMakesOnePassAndNoWarning) {
  FakeSystem sys;
  auto result = RunCloseBrowsers(sys);
  EXPECT_EQ(result.passes, 1);
  EXPECT_FALSE(result.warned);
  EXPECT_EQ(sys.log, (std::vector<std::string>{"walk", "walk", "pause200", "find", "pause400"}));
}

TEST(UnhitchPasses, UntitledWindowIsNeverAskedToQuitAndCausesNoRepeat) {
  FakeSystem sys;
  sys.Add(0, kNeverCloses, false);
  auto result = RunCloseBrowsers(sys);
  EXPECT_EQ(result.passes, 1);
  EXPECT_EQ(sys.windows[0].quits, 0);
  EXPECT_FALSE(result.warned);
}

TEST(UnhitchPasses, WindowThatClosesOnFirstQuitTakesOnePass) {
  FakeSystem sys;
  sys.Add(12, 1);
  auto result = RunCloseBrowsers(sys);
  EXPECT_EQ(result.passes, 1);
  EXPECT_EQ(sys.windows[0].quits, 1);
  EXPECT_FALSE(result.warned);
  EXPECT_EQ(sys.log, (std::vector<std::string>{"walk", "title0", "quit0", "walk", "title0", "pause200", "find",
                                               "pause400"}));
}

TEST(UnhitchPasses, SlowWindowIsAskedAgainEachPassUntilItCloses) {
  FakeSystem sys;
  sys.Add(5, 3);
  sys.Add(7, 1);
  auto result = RunCloseBrowsers(sys);
  EXPECT_EQ(result.passes, 3);
  EXPECT_EQ(sys.windows[0].quits, 3);
  // Once closed, the quick window shows no title and is not asked again.
  EXPECT_EQ(sys.windows[1].quits, 1);
  EXPECT_FALSE(result.warned);
}

TEST(UnhitchPasses, CheckWalkStopsAtFirstTitledWindow) {
  FakeSystem sys;
  sys.Add(5, 2);
  sys.Add(7, 2);
  RunCloseBrowsers(sys);
  // Pass 1: quit walk reads both titles; the check walk stops at window 0.
  std::vector<std::string> firstPass(sys.log.begin(), sys.log.begin() + 8);
  EXPECT_EQ(firstPass, (std::vector<std::string>{"walk", "title0", "quit0", "title1", "quit1", "walk", "title0",
                                                 "walk"}));
}

TEST(UnhitchPasses, StubbornWindowGetsTwentyPassesThenTheWarning) {
  FakeSystem sys;
  sys.Add(9, kNeverCloses);
  auto result = RunCloseBrowsers(sys);
  EXPECT_EQ(result.passes, kMaxPasses);
  EXPECT_EQ(sys.windows[0].quits, kMaxPasses);
  // Twenty quit walks and nineteen check walks: the twentieth pass needs no check.
  EXPECT_EQ(sys.walks, 2 * kMaxPasses - 1);
  EXPECT_TRUE(result.warned);
  std::vector<std::string> tail(sys.log.end() - 4, sys.log.end());
  EXPECT_EQ(tail, (std::vector<std::string>{"pause200", "find", "warn", "pause400"}));
}

TEST(UnhitchPasses, StubbornWindowThatIsNoFrameGetsTwentyPassesAndNoWarning) {
  FakeSystem sys;
  sys.Add(9, kNeverCloses, false);
  auto result = RunCloseBrowsers(sys);
  EXPECT_EQ(result.passes, kMaxPasses);
  EXPECT_FALSE(result.warned);
  EXPECT_EQ(sys.log.back(), "pause400");
}

TEST(UnhitchPasses, FrameOutsideCollectionBringsTheWarningOnceAfterOnePass) {
  FakeSystem sys;
  sys.frameOutsideCollection = true;
  auto result = RunCloseBrowsers(sys);
  EXPECT_EQ(result.passes, 1);
  EXPECT_TRUE(result.warned);
  EXPECT_EQ(sys.log, (std::vector<std::string>{"walk", "walk", "pause200", "find", "warn", "pause400"}));
}

}  // namespace
}  // namespace vexbane::unhitch
