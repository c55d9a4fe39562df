// The block record: what the helper sends, and what the tray accepts of any bytes it is handed.
#include "core/block_record.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace vexbane::blocks {
namespace {

BlockRecord Sample() {
  BlockRecord r;
  r.kind = BlockKind::Dialog;
  r.reason = BlockReason::LateClick;
  r.level = 3;
  r.timeOfDayMs = 13 * 3600000 + 5 * 60000 + 9000;
  r.pageUrl = "http://news.example/page?id=7";
  return r;
}

std::optional<BlockRecord> ParseWire(const BlockRecordWire& wire) { return ParseBlockRecord(&wire, sizeof wire); }

TEST(BlockRecord, RoundTripsThroughItsWireForm) {
  const BlockRecord r = Sample();
  const BlockRecordWire wire = EncodeBlockRecord(r);
  EXPECT_EQ(wire.size, sizeof(BlockRecordWire));
  EXPECT_EQ(wire.version, kRecordVersion);
  auto back = ParseWire(wire);
  ASSERT_TRUE(back);
  EXPECT_EQ(*back, r);
}

TEST(BlockRecord, FieldsSitAtFixedOffsets) {
  // Both ends must agree byte for byte, whatever compiler built them.
  EXPECT_EQ(offsetof(BlockRecordWire, version), 4u);
  EXPECT_EQ(offsetof(BlockRecordWire, level), 16u);
  EXPECT_EQ(offsetof(BlockRecordWire, timeOfDayMs), 20u);
  EXPECT_EQ(offsetof(BlockRecordWire, pageUrl), 24u);
  EXPECT_EQ(sizeof(BlockRecordWire), 2108u);
}

TEST(BlockRecord, ALongAddressIsCutToTheFieldWithItsNul) {
  BlockRecord r = Sample();
  r.pageUrl = "http://long.example/" + std::string(5000, 'x');
  auto back = ParseWire(EncodeBlockRecord(r));
  ASSERT_TRUE(back);
  EXPECT_EQ(back->pageUrl.size(), kPageUrlBytes - 1);
  EXPECT_EQ(back->pageUrl, r.pageUrl.substr(0, kPageUrlBytes - 1));
  r.pageUrl = std::string("http://a.example/\0hidden", 24);
  EXPECT_EQ(ParseWire(EncodeBlockRecord(r))->pageUrl, "http://a.example/");
}

TEST(BlockRecord, AnEmptyAddressIsStillARecord) {
  BlockRecord r = Sample();
  r.pageUrl.clear();
  ASSERT_TRUE(ParseWire(EncodeBlockRecord(r)));
}

TEST(BlockRecord, RejectsTheWrongNumberOfBytes) {
  const BlockRecordWire wire = EncodeBlockRecord(Sample());
  std::vector<char> bytes(sizeof wire + 1, 0);
  std::memcpy(bytes.data(), &wire, sizeof wire);
  EXPECT_FALSE(ParseBlockRecord(bytes.data(), sizeof wire - 1));  // short
  EXPECT_FALSE(ParseBlockRecord(bytes.data(), sizeof wire + 1));  // too long
  EXPECT_FALSE(ParseBlockRecord(bytes.data(), 0));
  EXPECT_FALSE(ParseBlockRecord(nullptr, sizeof wire));
}

TEST(BlockRecord, RejectsAnyMalformedField) {
  const BlockRecordWire good = EncodeBlockRecord(Sample());
  struct Case {
    const char* name;
    void (*spoil)(BlockRecordWire&);
  };
  const Case cases[] = {
      {"size field", [](BlockRecordWire& w) { w.size = 24; }},
      {"version 0", [](BlockRecordWire& w) { w.version = 0; }},
      {"version 2", [](BlockRecordWire& w) { w.version = 2; }},
      {"kind 0", [](BlockRecordWire& w) { w.kind = 0; }},
      {"kind 3", [](BlockRecordWire& w) { w.kind = 3; }},
      {"reason 0", [](BlockRecordWire& w) { w.reason = 0; }},
      {"reason 4", [](BlockRecordWire& w) { w.reason = 4; }},
      {"level 0", [](BlockRecordWire& w) { w.level = 0; }},
      {"level beyond 16 bits", [](BlockRecordWire& w) { w.level = 40000; }},
      {"negative time", [](BlockRecordWire& w) { w.timeOfDayMs = -1; }},
      {"time of a second day", [](BlockRecordWire& w) { w.timeOfDayMs = 86400000; }},
      {"no NUL", [](BlockRecordWire& w) { std::memset(w.pageUrl, 'a', sizeof w.pageUrl); }},
  };
  ASSERT_TRUE(ParseWire(good));
  for (const Case& c : cases) {
    BlockRecordWire bad = good;
    c.spoil(bad);
    EXPECT_FALSE(ParseWire(bad)) << c.name;
  }
}

TEST(BlockRecord, AcceptsTheEdgesOfEachRange) {
  BlockRecordWire w = EncodeBlockRecord(Sample());
  w.level = -1;
  w.timeOfDayMs = 86399999;
  EXPECT_TRUE(ParseWire(w));
  std::memset(w.pageUrl, 'a', sizeof w.pageUrl - 1);
  w.pageUrl[sizeof w.pageUrl - 1] = '\0';
  EXPECT_EQ(ParseWire(w)->pageUrl.size(), kPageUrlBytes - 1);
}

// Any local program may send a record. An address with a line break would reach the allow list
// through "Allow Site" as a line of its own making.
TEST(BlockRecord, RejectsAnAddressHoldingAControlCharacter) {
  for (const char* address : {"http://a.example/\r\nhttp", "http://a.example/\nx", "http://a\tb.example/",
                              "\x01http://a.example/", "http://a.example/\x1f"}) {
    BlockRecord r = Sample();
    r.pageUrl = address;
    EXPECT_FALSE(ParseWire(EncodeBlockRecord(r))) << "a control character in " << address;
  }
  // Every other byte of the code page is an address's to hold.
  BlockRecord r = Sample();
  r.pageUrl = "http://caf\xe9.example/ x\x7f\xff";
  ASSERT_TRUE(ParseWire(EncodeBlockRecord(r)));
  EXPECT_EQ(ParseWire(EncodeBlockRecord(r))->pageUrl, r.pageUrl);
}

TEST(BlockRecord, ReasonFollowsTheLevelAndTheClick) {
  EXPECT_EQ(ReasonFor(4, true), BlockReason::BlockAll);
  EXPECT_EQ(ReasonFor(4, false), BlockReason::BlockAll);
  EXPECT_EQ(ReasonFor(2, false), BlockReason::NoClick);
  EXPECT_EQ(ReasonFor(1, true), BlockReason::LateClick);
  EXPECT_EQ(ReasonText(BlockReason::BlockAll), "Block All Popup");
  EXPECT_EQ(ReasonText(BlockReason::NoClick), "no click");
  EXPECT_EQ(ReasonText(BlockReason::LateClick), "late click");
  EXPECT_EQ(KindText(BlockKind::NewWindow), "new window");
  EXPECT_EQ(KindText(BlockKind::Dialog), "dialog");
}

}  // namespace
}  // namespace vexbane::blocks
