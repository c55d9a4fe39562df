// NewWindow3 and NewWindow2 of one request, in every order a browser raises them: one decision,
// one signal and one record per request, and the second event follows the first one's answer.
#include <gtest/gtest.h>

#include "HelperFixture.h"
#include "RecordingTray.h"

namespace vexbane::ext::testing {
namespace {

using host::EventOrder;
using blocks::BlockReason;

class NewWindowEventsTest : public HelperTest, public ::testing::WithParamInterface<EventOrder> {
 protected:
  void SetUp() override {
    HelperTest::SetUp();
    Session().SetEventOrder(GetParam());
    m_key.Set("hButton", m_tray.HandleText());
    m_key.Set("Sound", "2");
  }
  bool TargetKnown() const {
    return GetParam() == EventOrder::NewWindow3Then2 || GetParam() == EventOrder::NewWindow3Only;
  }
  RecordingTray m_tray;
};

INSTANTIATE_TEST_SUITE_P(Orders, NewWindowEventsTest,
                         ::testing::Values(EventOrder::NewWindow3Then2, EventOrder::NewWindow3Only,
                                           EventOrder::NewWindow2Only, EventOrder::NewWindow2Then3),
                         [](const ::testing::TestParamInfo<EventOrder>& info) {
                           switch (info.param) {
                             case EventOrder::NewWindow3Then2: return std::string("ThreeThenTwo");
                             case EventOrder::NewWindow3Only: return std::string("ThreeAlone");
                             case EventOrder::NewWindow2Only: return std::string("TwoAlone");
                             case EventOrder::NewWindow2Then3: return std::string("TwoThenThree");
                           }
                           return std::string("Unknown");
                         });

// An allowed request must not use up the click twice: if the second event decided again it
// would find the click gone and cancel the window the first event let through.
TEST_P(NewWindowEventsTest, OneClickLetsOneRequestThroughWhateverTheEvents) {
  m_key.Set("Popup", "2");
  host::HostWindow& w = Session().Open();  // the attach's click time
  EXPECT_FALSE(w.NewWindow("http://wanted.example/")) << "the click's window opens";
  EXPECT_TRUE(m_tray.received().empty());
  EXPECT_EQ(TakeClicks(m_tray.button()), 0);
  EXPECT_TRUE(w.NewWindow("http://second.example/")) << "one click, one window";
  EXPECT_EQ(TakeClicks(m_tray.button()), 1);
  EXPECT_TRUE(w.NewWindow("http://third.example/"));
  EXPECT_EQ(TakeClicks(m_tray.button()), 1);
  host::HostWindow& again = Session().Open();  // a new click time for the thread
  EXPECT_FALSE(again.NewWindow("http://wanted.example/next"));
}

TEST_P(NewWindowEventsTest, ABlockedRequestIsSignalledRecordedAndCountedOnce) {
  m_key.Set("Popup", "4");
  host::HostWindow& w = Session().Open();
  w.Navigate("http://shop.example/");
  for (int i = 1; i <= 3; ++i) {
    EXPECT_TRUE(w.NewWindow("http://ads.example/" + std::to_string(i)));
    EXPECT_EQ(TakeClicks(m_tray.button()), 1) << "request " << i;
    ASSERT_EQ(m_tray.received().size(), static_cast<size_t>(i)) << "one record per request";
  }
  for (const auto& got : m_tray.received()) {
    EXPECT_EQ(got.record.reason, BlockReason::BlockAll);
    EXPECT_EQ(got.record.pageUrl, "http://shop.example/");
  }
  // The target is known when the request's first event says it (NewWindow3 first).
  EXPECT_EQ(m_tray.received()[0].record.targetUrl, TargetKnown() ? "http://ads.example/1" : "");
  EXPECT_EQ(m_tray.received()[0].record.blockId != 0, TargetKnown());
}

TEST_P(NewWindowEventsTest, CtrlAndLevelOffAnswerBothEventsAlike) {
  m_key.Set("Popup", "4");
  host::HostWindow& w = Session().Open();
  Session().CtrlKey(true);
  EXPECT_FALSE(w.NewWindow());
  EXPECT_FALSE(w.NewWindow());
  Session().CtrlKey(false);
  m_key.Set("Popup", "0");
  EXPECT_FALSE(w.NewWindow());
  EXPECT_EQ(TakeClicks(m_tray.button()), 0);
  EXPECT_TRUE(m_tray.received().empty());
  m_key.Set("Popup", "4");
  EXPECT_TRUE(w.NewWindow());
  EXPECT_EQ(TakeClicks(m_tray.button()), 1);
}

}  // namespace
}  // namespace vexbane::ext::testing

namespace vexbane::ext::testing {
namespace {

// The tray's "Open" as the browser thread receives it: the registered message posted to the
// frame, naming the block's number.
class OpenBlockedTest : public HelperTest {
 protected:
  // A shop page at level 4, its browser raising NewWindow3 then NewWindow2, and the tray's
  // window posted its records.
  host::HostWindow& OpenShopPageAtLevelFour(RecordingTray& tray) {
    m_key.Set("hButton", tray.HandleText());
    m_key.Set("Sound", "2");
    m_key.Set("Popup", "4");
    Session().SetEventOrder(host::EventOrder::NewWindow3Then2);
    host::HostWindow& w = Session().Open();
    w.Navigate("http://shop.example/cart");
    return w;
  }
};

TEST_F(OpenBlockedTest, TheNamedBlockOpensOnceFromItsFrameWithThePageAsReferrer) {
  RecordingTray tray;
  host::HostWindow& w = OpenShopPageAtLevelFour(tray);
  ASSERT_TRUE(w.NewWindow("http://coupons.example/offer"));
  ASSERT_EQ(tray.received().size(), 1u);
  const uint32_t id = tray.received()[0].record.blockId;
  ASSERT_NE(id, 0u);
  TakeClicks(tray.button());
  const UINT open = ::RegisterWindowMessageA("VexbaneOpenBlocked");

  ::PostMessageA(w.frame(), open, id + 1000, 0);  // no such block: nothing opens
  Pump(100);
  EXPECT_TRUE(w.browser()->opened().empty());

  ::PostMessageA(w.frame(), open, id, 0);
  Pump(100);
  ASSERT_EQ(w.browser()->opened().size(), 1u);
  EXPECT_EQ(w.browser()->opened()[0].url, "http://coupons.example/offer");
  EXPECT_EQ(w.browser()->opened()[0].headers, "Referer: http://shop.example/cart\r\n");
  EXPECT_EQ(tray.received().size(), 1u) << "not blocked again at level 4, and no record";
  EXPECT_EQ(TakeClicks(tray.button()), 0);
  EXPECT_TRUE(w.NewWindow("http://coupons.example/offer")) << "only that one request was let through";
}

// A browser's modal loop looks at its queue without taking the message (PeekMessage with
// PM_NOREMOVE), and the hook sees the message then too: the window opens when it is taken, once.
TEST_F(OpenBlockedTest, AMessageLookedAtBeforeItIsTakenOpensTheWindowOnce) {
  RecordingTray tray;
  host::HostWindow& w = OpenShopPageAtLevelFour(tray);
  ASSERT_TRUE(w.NewWindow("http://coupons.example/offer"));
  ASSERT_EQ(tray.received().size(), 1u);
  const uint32_t id = tray.received()[0].record.blockId;
  const UINT open = ::RegisterWindowMessageA("VexbaneOpenBlocked");

  ::PostMessageA(w.frame(), open, id, 0);
  MSG peeked = {};
  ASSERT_TRUE(::PeekMessageA(&peeked, nullptr, open, open, PM_NOREMOVE));
  EXPECT_TRUE(w.browser()->opened().empty()) << "nothing opens while the message stays queued";
  Pump(100);
  ASSERT_EQ(w.browser()->opened().size(), 1u);
  EXPECT_EQ(w.browser()->opened()[0].url, "http://coupons.example/offer");
}

}  // namespace
}  // namespace vexbane::ext::testing
