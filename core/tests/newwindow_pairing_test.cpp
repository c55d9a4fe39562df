// One decision per request, whichever of the two new-window events comes first.
#include "core/newwindow_pairing.h"

#include <gtest/gtest.h>

#include <vector>

namespace vexbane::newwindow {
namespace {

constexpr WindowEvent k2 = WindowEvent::NewWindow2;
constexpr WindowEvent k3 = WindowEvent::NewWindow3;

// Runs events through the pairing, all raised while the browser handles one message (a page
// script opening several windows at once), deciding with `answers` in turn; returns how many
// decisions ran and the answer each event got.
struct Outcome {
  int decisions = 0;
  std::vector<bool> blocks;
};
Outcome Feed(const std::vector<WindowEvent>& events, std::vector<bool> answers) {
  EventPairing pairing;
  Outcome run;
  size_t next = 0;
  for (WindowEvent e : events) {
    PairStep step = pairing.Arrive(e, 7);
    bool block = step.block;
    if (step.decide) {
      ++run.decisions;
      block = answers.at(next++);
      pairing.Decided(e, block, 7);
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
  ASSERT_TRUE(pairing.Arrive(k3, 1).decide);
  pairing.Decided(k3, true, 1);
  pairing.Forget();
  PairStep step = pairing.Arrive(k2, 1);
  EXPECT_TRUE(step.decide) << "after a navigation a NewWindow2 is a request of its own";
}

// The four ways a request raises its events: NewWindow3 then NewWindow2 (IE 6 SP2 and later,
// not cancelled), NewWindow3 alone (cancelled there), NewWindow2 alone (older browsers), and
// NewWindow2 then NewWindow3 (hosts seen doing it).
const std::vector<std::vector<WindowEvent>> kOrders = {{k3, k2}, {k3}, {k2}, {k2, k3}};

// Every order after every other, each request raised while the browser handles a message of
// its own, one pairing for them all as in one window: each request is decided once, and its
// second event follows that answer; nothing of one request decides the next.
TEST(EventPairing, EachRequestOfItsOwnDispatchIsDecidedOnceWhateverCameBefore) {
  for (bool firstBlocked : {false, true}) {
    for (size_t a = 0; a < kOrders.size(); ++a) {
      for (size_t b = 0; b < kOrders.size(); ++b) {
        SCOPED_TRACE(::testing::Message() << "orders " << a << " then " << b << ", first blocked " << firstBlocked);
        EventPairing pairing;
        uint32_t dispatch = 41;
        const bool answers[2] = {firstBlocked, !firstBlocked};
        for (int request = 0; request < 2; ++request) {
          ++dispatch;  // the message that made this request
          int decisions = 0;
          for (WindowEvent e : kOrders[request == 0 ? a : b]) {
            PairStep step = pairing.Arrive(e, dispatch);
            if (step.decide) {
              ++decisions;
              pairing.Decided(e, answers[request], dispatch);
            } else {
              EXPECT_EQ(step.block, answers[request]) << "the partner follows its own request's answer";
            }
          }
          EXPECT_EQ(decisions, 1) << "request " << request;
        }
      }
    }
  }
}

// The faults this rules out: NewWindow3 alone let through by a click, then a later request
// that raises NewWindow2 first let through with no decision and no record; NewWindow3 alone
// blocked, then a later NewWindow2 request cancelled with no record, count or signal.
TEST(EventPairing, AnAnswerThatFoundNoPartnerInItsDispatchDecidesNothingLater) {
  for (bool block : {false, true}) {
    EventPairing pairing;
    ASSERT_TRUE(pairing.Arrive(k3, 5).decide);
    pairing.Decided(k3, block, 5);
    EXPECT_TRUE(pairing.Arrive(k2, 6).decide);
  }
  EventPairing pairing;
  ASSERT_TRUE(pairing.Arrive(k2, 9).decide);
  pairing.Decided(k2, true, 9);
  EXPECT_TRUE(pairing.Arrive(k3, 10).decide);
  // The dispatch number wraps round with the message count: only equality pairs.
  pairing.Decided(k3, true, 0xFFFFFFFFu);
  EXPECT_FALSE(pairing.Arrive(k2, 0xFFFFFFFFu).decide);
}

}  // namespace
}  // namespace vexbane::newwindow
