// Version 3 of the block record: the window that takes "Open" travels with the rest.
#include "core/block_record_v3.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>

namespace vexbane::blocks {
namespace {

BlockRecord TabSample() {
  BlockRecord r;
  r.kind = BlockKind::NewTab;
  r.reason = BlockReason::NoClick;
  r.level = 2;
  r.timeOfDayMs = 12 * 3600000;
  r.pageUrl = "http://tab2.example/";
  r.targetUrl = "http://pop.example/";
  r.blockId = 3;
  r.openWindow = 0x0001043a;
  return r;
}

TEST(BlockRecordV3, RoundTripsWithTheOpenWindowAfterTheVersionTwoFields) {
  const BlockRecordWireV3 wire = EncodeBlockRecordV3(TabSample());
  EXPECT_EQ(wire.fields.size, sizeof(BlockRecordWireV3));
  EXPECT_EQ(wire.fields.version, 3u);
  EXPECT_EQ(offsetof(BlockRecordWireV3, openWindow), sizeof(BlockRecordWireV2));
  auto back = ParseAnyBlockRecord(&wire, sizeof wire);
  ASSERT_TRUE(back);
  EXPECT_EQ(*back, TabSample());
}

TEST(BlockRecordV3, OlderVersionsCarryNoOpenWindow) {
  const BlockRecordWireV2 v2 = EncodeBlockRecordV2(TabSample());
  auto back = ParseAnyBlockRecord(&v2, sizeof v2);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->openWindow, 0u) << "the frame that sent it takes Open";
  EXPECT_EQ(back->blockId, 3u);
}

TEST(BlockRecordV3, SizeAndVersionMustAgreeAndTheOtherFieldsBeSound) {
  const BlockRecordWireV3 good = EncodeBlockRecordV3(TabSample());
  auto refused = [&](auto change, const char* what) {
    BlockRecordWireV3 w = good;
    change(w);
    EXPECT_FALSE(ParseAnyBlockRecord(&w, sizeof w)) << what;
  };
  refused([](BlockRecordWireV3& w) { w.fields.version = 2; }, "version 2 in the version 3 size");
  refused([](BlockRecordWireV3& w) { w.fields.size = sizeof(BlockRecordWireV2); }, "size field of version 2");
  refused([](BlockRecordWireV3& w) { w.fields.kind = 7; }, "unknown kind");
  refused([](BlockRecordWireV3& w) { w.fields.level = 0; }, "level 0");
  refused([](BlockRecordWireV3& w) { w.fields.pageUrl[2] = '\n'; }, "line break in the page");
  refused([](BlockRecordWireV3& w) { std::memset(w.fields.targetUrl, 'x', sizeof w.fields.targetUrl); },
          "target without NUL");
  BlockRecordWireV2 v2InV3Version = EncodeBlockRecordV2(TabSample());
  v2InV3Version.version = kRecordVersion3;
  EXPECT_FALSE(ParseAnyBlockRecord(&v2InV3Version, sizeof v2InV3Version)) << "version 3 in the version 2 size";
  EXPECT_FALSE(ParseAnyBlockRecord(&good, sizeof good + 1));
}

}  // namespace
}  // namespace vexbane::blocks
