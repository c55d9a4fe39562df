// The allow-list editor's address test.
#include "allow_list_probe.h"

#include "core/allow_list_matcher.h"
#include "core/text.h"

namespace vexbane {

std::optional<std::string> FindAllowingEntry(const std::vector<std::string>& entries, std::string_view address) {
  // The helper's own matcher, so the answer can never differ from its decision.
  const AllowListMatcher matcher(entries);
  const size_t first = matcher.FirstMatch(address);
  if (first == AllowListMatcher::kNoMatch) return std::nullopt;
  return matcher.entries()[first];
}

std::string AddressTestMessage(const std::vector<std::string>& entries, std::string_view typed) {
  const std::string address = Trim(typed);
  if (address.empty()) return "Type a page address in the box first.";
  if (auto entry = FindAllowingEntry(entries, address))
    return "Allowed by the entry \"" + *entry + "\".";
  return "Not on the allow list: the blocking level decides.";
}

}  // namespace vexbane
