// What the "Recently Blocked" window shows and does with a block's target address.
#pragma once
#include <string>

#include "core/recent_blocks.h"

namespace vexbane::blocks {

// The host the blocked window was going to, lower-cased; empty when the browser did not say.
std::string TargetHostOf(const RecentBlock& row);

// A row of the window: five columns joined by tabs ("time\tsite\topens\twhat\twhy"); "Opens"
// stays empty when the target is unknown.
std::string RowTextWithTarget(const RecentBlock& row);

// What "Copy Address" copies: the target address when known, else the page's.
const std::string& AddressToCopy(const BlockRecord& record);

}  // namespace vexbane::blocks
