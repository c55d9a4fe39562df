// The allow-list editor's address test: which entry, if any, lets a page open new windows.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vexbane {

// The first entry (in list order) that lets `address` through, by the very rule the helper
// applies; nothing when none does.
std::optional<std::string> FindAllowingEntry(const std::vector<std::string>& entries, std::string_view address);

// What the editor says about a typed address: it asks for one when blank, else names the
// allowing entry or says that the list lets no window of that page through.
std::string AddressTestMessage(const std::vector<std::string>& entries, std::string_view typed);

}  // namespace vexbane
