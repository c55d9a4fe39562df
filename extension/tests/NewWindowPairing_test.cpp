// Requests of every kind one after another in one window: each is decided, signalled and
// recorded once, and what the last one answered never decides the next.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "HelperFixture.h"
#include "RecordingTray.h"

namespace vexbane::ext::testing {
namespace {

using host::EventOrder;

const std::vector<EventOrder> kOrders = {EventOrder::NewWindow3Then2, EventOrder::NewWindow3Only,
                                         EventOrder::NewWindow2Only, EventOrder::NewWindow2Then3};

class PairingAcrossRequestsTest : public HelperTest {
 protected:
  void SetUp() override {
    HelperTest::SetUp();
    m_key.Set("hButton", m_tray.HandleText());
    m_key.Set("Sound", "2");
  }
  // One request raised in `order`; true when the window was cancelled.
  bool Request(host::HostWindow& w, EventOrder order, const std::string& url) {
    w.SetEventOrder(order);
    return w.NewWindow(url);
  }
  // A shop page opened with `level` stored as "Popup".
  host::HostWindow& OpenShopAtLevel(const char* level) {
    m_key.Set("Popup", level);
    host::HostWindow& w = Session().Open();
    w.Navigate("http://shop.example/");
    return w;
  }
  // Runs `step` for every ordered pair of event orders, the pair named in any failure; stops at
  // the first fatal failure, as an ASSERT in the loop itself would.
  template <typename Step>
  void ForEachPairOfOrders(Step step) {
    for (size_t a = 0; a < kOrders.size(); ++a) {
      for (size_t b = 0; b < kOrders.size(); ++b) {
        SCOPED_TRACE(::testing::Message() << host::EventOrderName(kOrders[a]) << " then " << host::EventOrderName(kOrders[b]));
        step(kOrders[a], kOrders[b]);
        if (HasFatalFailure()) return;
      }
    }
  }
  RecordingTray m_tray;
};

// A request blocked in NewWindow3 alone was taken as the first half of the next request, whose
// NewWindow2 was then cancelled with no record, no count and no signal.
TEST_F(PairingAcrossRequestsTest, AtLevelFourEveryRequestIsRecordedAndSignalledOnce) {
  host::HostWindow& w = OpenShopAtLevel("4");
  size_t records = 0;
  ForEachPairOfOrders([&](EventOrder first, EventOrder second) {
    for (EventOrder order : {first, second}) {
      EXPECT_TRUE(Request(w, order, "http://ads.example/" + std::to_string(records)));
      EXPECT_EQ(TakeClicks(m_tray.button()), 1) << host::EventOrderName(order);
      ASSERT_EQ(m_tray.received().size(), ++records) << host::EventOrderName(order);
    }
  });
}

// A request let through by a click in NewWindow3 alone let the next request through too when
// it raised NewWindow2 first: no decision, no record, although no click was left.
TEST_F(PairingAcrossRequestsTest, AClickLetsOneRequestThroughAndTheNextIsDecidedAfresh) {
  host::HostWindow& w = OpenShopAtLevel("2");
  size_t records = 0;
  ForEachPairOfOrders([&](EventOrder first, EventOrder second) {
    Session().Click();
    EXPECT_FALSE(Request(w, first, "http://wanted.example/")) << "the click's window opens";
    EXPECT_EQ(TakeClicks(m_tray.button()), 0);
    EXPECT_TRUE(Request(w, second, "http://ads.example/")) << "no click is left for it";
    EXPECT_EQ(TakeClicks(m_tray.button()), 1);
    ASSERT_EQ(m_tray.received().size(), ++records);
  });
}

}  // namespace
}  // namespace vexbane::ext::testing
