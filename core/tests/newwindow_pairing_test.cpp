// One decision per request, whichever of the two new-window events comes first.
#include "core/newwindow_pairing.h"

#include <gtest/gtest.h>

#include <vector>

namespace vexbane::newwindow {
namespace {

constexpr WindowEvent k2 = WindowEvent::NewWindow2;
constexpr WindowEvent k3 = WindowEvent::NewWindow3;

// Runs events through the pairing, deciding with `answers` in turn; returns how many decisions
// ran and the answer each event got.
struct Outcome {
  int decisions = 0;
  std::vector<bool> blocks;
};
Outcome Feed(const std::vector<WindowEvent>& events, std::vector<bool> answers) {
  EventPairing pairing;
  Outcome run;
  size_t next = 0;
  for (WindowEvent e : events) {
    PairStep step = pairing.Arrive(e);
    bool block = step.block;
    if (step.decide) {
      ++run.decisions;
      block = answers.at(next++);
      pairing.Decided(e, block);
    }
    run.blocks.push_back(block);
  }
  return run;
}

TEST(EventPairing, TheSecondEventOfARequestFollowsTheFirstInEitherOrder) {
  for (bool answer : {false, true}) {
    Outcome a = Feed({k3, k2}, {answer});
    EXPECT_EQ(a.decisions, 1);
    EXPECT_EQ(a.blocks, (std::vector<bool>{answer, answer}));
    Outcome b = Feed({k2, k3}, {answer});
    EXPECT_EQ(b.decisions, 1);
    EXPECT_EQ(b.blocks, (std::vector<bool>{answer, answer}));
  }
}

TEST(EventPairing, RequestsThatRaiseOneEventAreEachDecided) {
  Outcome olderBrowser = Feed({k2, k2, k2}, {false, true, true});
  EXPECT_EQ(olderBrowser.decisions, 3);
  EXPECT_EQ(olderBrowser.blocks, (std::vector<bool>{false, true, true}));
  // Cancelled in NewWindow3 (no NewWindow2 follows), then the next request's pair.
  Outcome cancelledThenPair = Feed({k3, k3, k2}, {true, false});
  EXPECT_EQ(cancelledThenPair.decisions, 2);
  EXPECT_EQ(cancelledThenPair.blocks, (std::vector<bool>{true, false, false}));
}

TEST(EventPairing, AnAnswerFollowsOnceAndThenTheNextRequestIsDecided) {
  Outcome run = Feed({k3, k2, k3, k2, k2}, {false, true, false});
  EXPECT_EQ(run.decisions, 3);
  EXPECT_EQ(run.blocks, (std::vector<bool>{false, false, true, true, false}));
}

TEST(EventPairing, ANavigationEndsTheWaitForAPartner) {
  EventPairing pairing;
  ASSERT_TRUE(pairing.Arrive(k3).decide);
  pairing.Decided(k3, true);
  pairing.Forget();
  PairStep step = pairing.Arrive(k2);
  EXPECT_TRUE(step.decide) << "after a navigation a NewWindow2 is a request of its own";
}

}  // namespace
}  // namespace vexbane::newwindow
