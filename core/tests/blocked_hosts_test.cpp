// The Blocked Hosts list: which target hosts an entry blocks, and what "Block Host" adds.
#include "core/blocked_hosts.h"

#include <gtest/gtest.h>

#include "core/recent_blocks.h"

namespace vexbane::blocks {
namespace {

TEST(BlockedHosts, AnEntryBlocksItsHostAndItsSubdomainsOnly) {
  const std::vector<std::string> list = {"ads.example"};
  const struct {
    const char* target;
    bool blocked;
  } rows[] = {
      {"http://ads.example/x", true},
      {"http://x.ads.example/pop?id=1", true},
      {"https://a.b.ADS.Example:8080/", true},
      {"http://ads.example./", true},
      {"http://bads.example/", false},
      {"http://ads.example.org/", false},
      {"http://example/", false},
      {"about:blank", false},
      {"", false},
  };
  for (const auto& r : rows)
    EXPECT_EQ(HostIsBlocked(list, SiteOfAddress(r.target)), r.blocked) << r.target;
}

TEST(BlockedHosts, ThePreparedSetAnswersAsTheListDoes) {
  const std::vector<std::string> list = {"ads.example", " HTTP://Pop.Example/x ", "", "a\x01.example", "ads.example",
                                         "trailing.example."};
  const BlockedHostSet set(list);
  for (const char* host : {"ads.example", "x.ads.example", "bads.example", "ads.example.org", "www.pop.example",
                           "pop.example", "example", "trailing.example", "a\x01.example", "", "."})
    EXPECT_EQ(set.Blocks(host), HostIsBlocked(list, host)) << host;
  EXPECT_FALSE(BlockedHostSet().Blocks("ads.example"));
}

TEST(BlockedHosts, EntriesAreTakenAsHostsWhateverTheWayTheyWereTyped) {
  std::string matched;
  EXPECT_TRUE(HostIsBlocked({"  ", "HTTP://Pop.Example/path", "other.example"}, "www.pop.example", &matched));
  EXPECT_EQ(matched, "HTTP://Pop.Example/path");
  EXPECT_TRUE(HostIsBlocked({"Ads.Example."}, "ads.example"));
  EXPECT_FALSE(HostIsBlocked({"", "   "}, "ads.example")) << "a blank entry blocks nothing";
  EXPECT_FALSE(HostIsBlocked({"ads\x01.example"}, "ads\x01.example")) << "an entry with a control byte blocks nothing";
  EXPECT_EQ(HostOfEntry("ads.example\r"), "");
}

// Ways a user writes "this site and everything below it": each entry stands for the host it
// means, in the editor and in a hand-edited file alike; a wildcard that names no host is no entry.
TEST(BlockedHosts, WildcardsLeadingDotsPortsAndAddressesNameTheHostMeant) {
  const struct {
    const char* entry;
    const char* host;
  } rows[] = {
      {".ads.example", "ads.example"},
      {"*.ads.example", "ads.example"},
      {"..ads.example", "ads.example"},
      {"*.*.ads.example", "ads.example"},
      {"http://ads.example/x", "ads.example"},
      {"http://*.ads.example/x", "ads.example"},
      {"ads.example:80", "ads.example"},
      {"ADS.EXAMPLE.", "ads.example"},
      {" .Ads.Example.:8080 ", "ads.example"},
      {"*ads.example", ""},
      {"ads.*.example", ""},
      {"ads.example*", ""},
      {"*", ""},
      {"*.", ""},
      {".", ""},
      {"...", ""},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.entry);
    EXPECT_EQ(HostOfEntry(r.entry), r.host);
    const std::vector<std::string> list = {r.entry};
    const bool meant = r.host[0] != '\0';
    for (const char* target : {"ads.example", "x.ads.example"}) {
      EXPECT_EQ(HostIsBlocked(list, target), meant) << target;
      EXPECT_EQ(BlockedHostSet(list).Blocks(target), meant) << target;
    }
    EXPECT_FALSE(HostIsBlocked(list, "bads.example"));
    EXPECT_FALSE(BlockedHostSet(list).Blocks("example"));
  }
}

TEST(BlockedHosts, BlockHostAddsTheTargetsHostOnce) {
  auto added = AddBlockedHost({"a.example"}, "http://X.Pop.Example/under.html");
  ASSERT_TRUE(added);
  EXPECT_EQ(*added, (std::vector<std::string>{"a.example", "x.pop.example"}));
  EXPECT_FALSE(AddBlockedHost(*added, "http://x.pop.example/other")) << "already blocked";
  EXPECT_FALSE(AddBlockedHost({"pop.example"}, "http://x.pop.example/")) << "a listed parent already blocks it";
  EXPECT_FALSE(AddBlockedHost({}, "")) << "no target";
  EXPECT_FALSE(AddBlockedHost({}, "javascript:open()"));
  EXPECT_FALSE(AddBlockedHost({}, "http://a.example/\nb"));
}

}  // namespace
}  // namespace vexbane::blocks

#include "core/recent_blocks_target.h"

namespace vexbane::blocks {
namespace {

TEST(RecentRowsWithTarget, OpensShowsTheTargetsHostAndCopyPrefersTheTarget) {
  RecentBlocks list;
  BlockRecord r;
  r.reason = BlockReason::BlockedHost;
  r.level = 2;
  r.timeOfDayMs = 3600000;
  r.pageUrl = "http://News.Example/a";
  r.targetUrl = "http://X.Ads.Example:81/pop";
  list.Add(r);
  EXPECT_EQ(RowTextWithTarget(list.Rows()[0]), "01:00:00\tnews.example\tx.ads.example\tnew window\tblocked host");
  EXPECT_EQ(AddressToCopy(list.Rows()[0].record), "http://X.Ads.Example:81/pop");
  r.targetUrl.clear();
  r.reason = BlockReason::NoClick;
  list.Add(r);
  EXPECT_EQ(RowTextWithTarget(list.Rows()[0]), "01:00:00\tnews.example\t\tnew window\tno click");
  EXPECT_EQ(AddressToCopy(list.Rows()[0].record), "http://News.Example/a");
  list.SetFrame(list.Rows()[1].id, 0x1234);
  EXPECT_EQ(list.Rows()[1].frame, 0x1234u);
  EXPECT_EQ(list.Rows()[0].frame, 0u);
}

}  // namespace
}  // namespace vexbane::blocks
