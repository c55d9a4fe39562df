// What the "Recently Blocked" window's status line says about the selected row and its buttons.
#pragma once
#include <string>

#include "core/recent_blocks.h"

namespace vexbane::blocks {

// The selected row's two addresses, whole, one to a line: "Page: ..." and "Window: ...".
std::string RowAddressesText(const RecentBlock& row);

// After "Allow Site" put `site` on the allow list (`added`) or found it there already. A window
// stopped for the Blocked Hosts list stays blocked whatever the allow list says: the text then
// says so and where the host can be taken off, instead of promising that the windows open.
std::string AllowSiteOutcomeText(const RecentBlock& row, const std::string& site, bool added);

// After "Block Host" put `host` on the Blocked Hosts list: what it does and how to undo it.
std::string BlockHostAddedText(const std::string& host);

}  // namespace vexbane::blocks
