// Version 2 of the block record: the target address and the block's number, and the tray's
// parser that takes either version.
#include "core/block_record_v2.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <string>

namespace vexbane::blocks {
namespace {

BlockRecord Sample() {
  BlockRecord r;
  r.kind = BlockKind::NewWindow;
  r.reason = BlockReason::BlockedHost;
  r.level = 2;
  r.timeOfDayMs = 9 * 3600000 + 1234;
  r.pageUrl = "http://news.example/story";
  r.targetUrl = "http://x.ads.example/under?id=3";
  r.blockId = 77;
  return r;
}

TEST(BlockRecordV2, RoundTripsWithTargetAndNumberAtFixedOffsets) {
  const BlockRecord r = Sample();
  const BlockRecordWireV2 wire = EncodeBlockRecordV2(r);
  EXPECT_EQ(wire.size, sizeof(BlockRecordWireV2));
  EXPECT_EQ(wire.version, 2u);
  EXPECT_EQ(offsetof(BlockRecordWireV2, blockId), 24u);
  EXPECT_EQ(offsetof(BlockRecordWireV2, pageUrl), 28u);
  EXPECT_EQ(offsetof(BlockRecordWireV2, targetUrl), 28u + kPageUrlBytes);
  auto back = ParseAnyBlockRecord(&wire, sizeof wire);
  ASSERT_TRUE(back);
  EXPECT_EQ(*back, r);
  EXPECT_EQ(ReasonText(back->reason), "blocked host");
}

TEST(BlockRecordV2, VersionOneIsStillTakenWithoutATarget) {
  BlockRecord r = Sample();
  r.reason = BlockReason::NoClick;
  const BlockRecordWire old = EncodeBlockRecord(r);
  auto back = ParseAnyBlockRecord(&old, sizeof old);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->pageUrl, r.pageUrl);
  EXPECT_EQ(back->targetUrl, "") << "version 1 never carries a target";
  EXPECT_EQ(back->blockId, 0u);
  // The blocked-host reason came with version 2: a version 1 record naming it is malformed.
  BlockRecordWire wrong = old;
  wrong.reason = static_cast<uint32_t>(BlockReason::BlockedHost);
  EXPECT_FALSE(ParseAnyBlockRecord(&wrong, sizeof wrong));
}

TEST(BlockRecordV2, ANewTabTravelsInVersionTwoOnly) {
  BlockRecord r = Sample();
  r.kind = BlockKind::NewTab;
  const BlockRecordWireV2 wire = EncodeBlockRecordV2(r);
  auto back = ParseAnyBlockRecord(&wire, sizeof wire);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->kind, BlockKind::NewTab);
  EXPECT_EQ(KindText(back->kind), "new tab");
  r.reason = BlockReason::NoClick;
  const BlockRecordWire old = EncodeBlockRecord(r);
  EXPECT_FALSE(ParseAnyBlockRecord(&old, sizeof old)) << "version 1 knows windows and dialogs only";
}

TEST(BlockRecordV2, MalformedFieldsAreRefused) {
  const BlockRecordWireV2 good = EncodeBlockRecordV2(Sample());
  auto refused = [&](auto change, const char* what) {
    BlockRecordWireV2 w = good;
    change(w);
    EXPECT_FALSE(ParseAnyBlockRecord(&w, sizeof w)) << what;
  };
  refused([](BlockRecordWireV2& w) { w.version = 1; }, "version 1 in the version 2 size");
  refused([](BlockRecordWireV2& w) { w.version = 3; }, "unknown version");
  refused([](BlockRecordWireV2& w) { w.size = 100; }, "size field disagrees");
  refused([](BlockRecordWireV2& w) { w.reason = 6; }, "unknown reason");
  refused([](BlockRecordWireV2& w) { w.reason = 0; }, "reason 0");
  refused([](BlockRecordWireV2& w) { w.kind = 9; }, "unknown kind");
  refused([](BlockRecordWireV2& w) { w.kind = 4; }, "kind beyond the new tab");
  refused([](BlockRecordWireV2& w) { w.kind = 0; }, "kind 0");
  refused([](BlockRecordWireV2& w) { w.level = 0; }, "level 0 never blocks");
  refused([](BlockRecordWireV2& w) { w.timeOfDayMs = 86400000; }, "beyond one day");
  refused([](BlockRecordWireV2& w) { std::memset(w.targetUrl, 'a', sizeof w.targetUrl); }, "target without NUL");
  refused([](BlockRecordWireV2& w) { std::memset(w.pageUrl, 'a', sizeof w.pageUrl); }, "page without NUL");
  refused([](BlockRecordWireV2& w) { w.targetUrl[4] = '\n'; }, "line break in the target");
  refused([](BlockRecordWireV2& w) { w.pageUrl[3] = '\x1f'; }, "control byte in the page");
  EXPECT_FALSE(ParseAnyBlockRecord(&good, sizeof good - 1)) << "one byte short";
  EXPECT_FALSE(ParseAnyBlockRecord(nullptr, sizeof good));
}

TEST(BlockRecordV2, ControlBytesAreRefusedInVersionOneTooAndLeftOutOfAnEncodedTarget) {
  BlockRecord r = Sample();
  r.reason = BlockReason::LateClick;
  r.pageUrl = "http://a.example/\r\nInjected: yes";
  const BlockRecordWire old = EncodeBlockRecord(r);
  EXPECT_FALSE(ParseAnyBlockRecord(&old, sizeof old));

  r.pageUrl = "http://a.example/";
  r.targetUrl = "http://b.example/\tx";
  const BlockRecordWireV2 wire = EncodeBlockRecordV2(r);
  auto back = ParseAnyBlockRecord(&wire, sizeof wire);
  ASSERT_TRUE(back) << "the page is sound; only the target is dropped";
  EXPECT_EQ(back->targetUrl, "");
  EXPECT_TRUE(HasControlBytes(std::string("a\x01")));
  EXPECT_FALSE(HasControlBytes("http://\xe9t\xe9.example/ ~"));
}

TEST(BlockRecordV2, LongAddressesAreCutToTheirFields) {
  BlockRecord r = Sample();
  r.targetUrl = "http://t.example/" + std::string(5000, 'q');
  auto back = [&] {
    const BlockRecordWireV2 wire = EncodeBlockRecordV2(r);
    return ParseAnyBlockRecord(&wire, sizeof wire);
  }();
  ASSERT_TRUE(back);
  EXPECT_EQ(back->targetUrl.size(), kPageUrlBytes - 1);
  EXPECT_EQ(back->targetUrl.substr(0, 17), "http://t.example/");
}


TEST(BlockRecordV2, ThePageClosingReasonTravelsAndIsNamed) {
  BlockRecord r = Sample();
  r.reason = BlockReason::PageClosing;
  const BlockRecordWireV2 wire = EncodeBlockRecordV2(r);
  auto back = ParseAnyBlockRecord(&wire, sizeof wire);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->reason, BlockReason::PageClosing);
  EXPECT_EQ(ReasonText(back->reason), "page closing");
  const BlockRecordWire old = EncodeBlockRecord(r);
  EXPECT_FALSE(ParseAnyBlockRecord(&old, sizeof old)) << "version 1 knows its three reasons only";
}

}  // namespace
}  // namespace vexbane::blocks
