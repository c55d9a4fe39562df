// The tray's recent blocks, the site of a page address, and "Allow Site" on the allow list.
#include "core/recent_blocks.h"

#include <gtest/gtest.h>

namespace vexbane::blocks {
namespace {

BlockRecord At(int32_t ms, const std::string& url) {
  BlockRecord r;
  r.level = 2;
  r.timeOfDayMs = ms;
  r.pageUrl = url;
  return r;
}

TEST(SiteOfAddress, TakesTheHostOfAnAddress) {
  struct Row {
    const char* address;
    const char* site;
  };
  const Row rows[] = {
      {"http://www.Example.com/path?q=1", "www.example.com"},
      {"HTTPS://user:pw@Shop.Example:8443/pay", "shop.example"},
      {"http://news.example", "news.example"},
      {"http://news.example.:80/", "news.example"},
      {"http://ads.example?x=1", "ads.example"},
      {"http://ads.example#top", "ads.example"},
      {"http://[::1]:8080/", "[::1]"},
      {"www.example.com/page", "www.example.com"},
      {"localhost:8080/x", "localhost"},
      {"  http://spaced.example/", "spaced.example"},
      {"about:blank", ""},
      {"javascript:window.open('x')", ""},
      {"file:///C:/pages/a.html", ""},
      {"res://shdoclc.dll/navcancl.htm", "shdoclc.dll"},
      {"", ""},
  };
  for (const Row& r : rows) EXPECT_EQ(SiteOfAddress(r.address), r.site) << r.address;
}

TEST(SiteOfAddress, AnAddressWithAControlCharacterHasNoSite) {
  EXPECT_EQ(SiteOfAddress("http://evil.example\r\nhttp/"), "");
  EXPECT_EQ(SiteOfAddress("http://evil.example/\nhttp"), "");
  EXPECT_EQ(SiteOfAddress("http://tab\t.example/"), "");
  EXPECT_EQ(SiteOfAddress("http://x.example/\x1b"), "");
}

TEST(TimeOfDayText, HoursMinutesSeconds) {
  EXPECT_EQ(TimeOfDayText(0), "00:00:00");
  EXPECT_EQ(TimeOfDayText(13 * 3600000 + 5 * 60000 + 9999), "13:05:09");
  EXPECT_EQ(TimeOfDayText(86399999), "23:59:59");
}

TEST(RecentBlocks, NewestFirstAndAtMostTwenty) {
  RecentBlocks list;
  for (int i = 1; i <= 25; ++i) list.Add(At(i * 1000, "http://site" + std::to_string(i) + ".example/"));
  ASSERT_EQ(list.size(), kRecentCapacity);
  EXPECT_EQ(list.Rows().front().site, "site25.example");
  EXPECT_EQ(list.Rows().back().site, "site6.example");
  for (size_t i = 1; i < list.size(); ++i) EXPECT_GT(list.Rows()[i - 1].id, list.Rows()[i].id);
}

TEST(RecentBlocks, FindsARowByItsIdUntilItFallsOff) {
  RecentBlocks list;
  const uint32_t first = list.Add(At(1000, "http://first.example/"));
  EXPECT_NE(first, 0u);
  ASSERT_NE(list.Find(first), nullptr);
  EXPECT_EQ(list.Find(first)->record.pageUrl, "http://first.example/");
  for (int i = 0; i < 20; ++i) list.Add(At(2000, "http://later.example/"));
  EXPECT_EQ(list.Find(first), nullptr);
}

TEST(RecentBlocks, RowTextHasTheFourColumns) {
  RecentBlocks list;
  BlockRecord r = At(9 * 3600000 + 30 * 60000, "http://Ads.Example/pop");
  r.kind = BlockKind::Dialog;
  r.reason = BlockReason::BlockAll;
  list.Add(r);
  EXPECT_EQ(RowText(list.Rows().front()), "09:30:00\tads.example\tdialog\tBlock All Popup");
  list.Add(At(0, "about:blank"));
  EXPECT_EQ(RowText(list.Rows().front()), "00:00:00\t(no site)\tnew window\tno click");
  r.kind = BlockKind::NewTab;
  r.reason = BlockReason::LateClick;
  list.Add(r);
  EXPECT_EQ(RowText(list.Rows().front()), "09:30:00\tads.example\tnew tab\tlate click");
}

TEST(AddSiteToAllowList, InsertsAtTheSortedPlace) {
  using Entries = std::vector<std::string>;
  EXPECT_EQ(*AddSiteToAllowList({"Alpha", "charlie"}, "bravo.example"), (Entries{"Alpha", "bravo.example", "charlie"}));
  EXPECT_EQ(*AddSiteToAllowList({}, "x.example"), (Entries{"x.example"}));
  EXPECT_EQ(*AddSiteToAllowList({"a"}, "z"), (Entries{"a", "z"}));
}

TEST(AddSiteToAllowList, NeverAddsASiteTwiceOrAnEmptyOne) {
  EXPECT_FALSE(AddSiteToAllowList({"News.Example"}, "news.example"));
  EXPECT_FALSE(AddSiteToAllowList({"news.example"}, "news.example"));
  EXPECT_FALSE(AddSiteToAllowList({"a"}, ""));
  EXPECT_FALSE(AddSiteToAllowList({"a"}, "   "));
  // A site is one line of the file; a line break would make lines of its own.
  EXPECT_FALSE(AddSiteToAllowList({"a"}, "x.example\r\nhttp"));
  EXPECT_FALSE(AddSiteToAllowList({"a"}, "x\t.example"));
  // A longer entry that merely contains the site is another entry.
  EXPECT_TRUE(AddSiteToAllowList({"www.news.example"}, "news.example"));
}

}  // namespace
}  // namespace vexbane::blocks
