// The target address in the "Recently Blocked" window.
#include "recent_blocks_target.h"

namespace vexbane::blocks {

std::string TargetHostOf(const RecentBlock& row) { return SiteOfAddress(row.record.targetUrl); }

std::string RowTextWithTarget(const RecentBlock& row) {
  std::string text = TimeOfDayText(row.record.timeOfDayMs);
  text += '\t';
  text += row.site.empty() ? "(no site)" : row.site;
  text += '\t';
  text += TargetHostOf(row);
  text += '\t';
  text += KindText(row.record.kind);
  text += '\t';
  text += ReasonText(row.record.reason);
  return text;
}

const std::string& AddressToCopy(const BlockRecord& record) {
  return record.targetUrl.empty() ? record.pageUrl : record.targetUrl;
}

}  // namespace vexbane::blocks
