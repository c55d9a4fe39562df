// The status line of the "Recently Blocked" window.
#include "recent_blocks_status.h"

#include "core/recent_blocks_target.h"

namespace vexbane::blocks {

std::string RowAddressesText(const RecentBlock& row) {
  std::string text = "Page: ";
  text += row.record.pageUrl.empty() ? "(no address)" : row.record.pageUrl;
  text += "\r\nWindow: ";
  text += row.record.targetUrl.empty() ? "(the browser did not say)" : row.record.targetUrl;
  return text;
}

std::string AllowSiteOutcomeText(const RecentBlock& row, const std::string& site, bool added) {
  if (row.record.reason != BlockReason::BlockedHost)
    return added ? site + " was added to the allow list: its next windows open."
                 : site + " is already on the allow list.";
  std::string host = TargetHostOf(row);
  if (host.empty()) host = "this window's host";
  return (added ? site + " was added to the allow list, but " : site + " is already on the allow list, but ") +
         "windows to " + host + " stay blocked: the Blocked Hosts list wins over the allow list. " +
         "To let them open, remove the host in Blocked Hosts (tray menu).";
}

std::string BlockHostAddedText(const std::string& host) {
  return host + " was added to the Blocked Hosts list: its windows stay blocked after a click. " +
         "To undo this, remove it in Blocked Hosts (tray menu).";
}

}  // namespace vexbane::blocks
