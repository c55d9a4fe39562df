// The status line of "Recently Blocked": the selected row's addresses and what its buttons did.
#include "core/recent_blocks_status.h"

#include <gtest/gtest.h>

namespace vexbane::blocks {
namespace {

RecentBlock Row(const std::string& page, const std::string& target, BlockReason reason) {
  RecentBlock row;
  row.record.pageUrl = page;
  row.record.targetUrl = target;
  row.record.reason = reason;
  row.site = SiteOfAddress(page);
  return row;
}

TEST(RecentBlocksStatus, TheSelectedRowsAddressesAreShownWhole) {
  const std::string longPage = "http://news.example/" + std::string(300, 'p') + "?id=1";
  const std::string longTarget = "http://www.bank.example.ads.example/" + std::string(400, 't') + "/end";
  EXPECT_EQ(RowAddressesText(Row(longPage, longTarget, BlockReason::NoClick)),
            "Page: " + longPage + "\r\nWindow: " + longTarget);
  EXPECT_EQ(RowAddressesText(Row("http://old.example/", "", BlockReason::NoClick)),
            "Page: http://old.example/\r\nWindow: (the browser did not say)");
  EXPECT_EQ(RowAddressesText(Row("", "", BlockReason::LateClick)),
            "Page: (no address)\r\nWindow: (the browser did not say)");
}

TEST(RecentBlocksStatus, AllowSitePromisesOpeningOnlyWhenNoBlockedHostStopsIt) {
  const RecentBlock plain = Row("http://news.example/a", "http://pop.example/", BlockReason::NoClick);
  EXPECT_EQ(AllowSiteOutcomeText(plain, "news.example", true),
            "news.example was added to the allow list: its next windows open.");
  EXPECT_EQ(AllowSiteOutcomeText(plain, "news.example", false), "news.example is already on the allow list.");

  const RecentBlock listed = Row("http://news.example/a", "http://X.Ads.Example/w", BlockReason::BlockedHost);
  const std::string added = AllowSiteOutcomeText(listed, "news.example", true);
  EXPECT_EQ(added,
            "news.example was added to the allow list, but windows to x.ads.example stay blocked: the Blocked Hosts "
            "list wins over the allow list. To let them open, remove the host in Blocked Hosts (tray menu).");
  EXPECT_EQ(added.find("next windows open"), std::string::npos);
  const std::string already = AllowSiteOutcomeText(listed, "news.example", false);
  EXPECT_EQ(already.rfind("news.example is already on the allow list, but windows to x.ads.example stay blocked", 0),
            0u);
  EXPECT_NE(already.find("Blocked Hosts (tray menu)"), std::string::npos);
}

TEST(RecentBlocksStatus, BlockHostSaysHowToUndoIt) {
  EXPECT_EQ(BlockHostAddedText("x.ads.example"),
            "x.ads.example was added to the Blocked Hosts list: its windows stay blocked after a click. To undo this, "
            "remove it in Blocked Hosts (tray menu).");
}

}  // namespace
}  // namespace vexbane::blocks
