// The Blocked Hosts list's matching rule.
#include "blocked_hosts.h"

#include "core/block_record_v2.h"
#include "core/recent_blocks.h"

namespace vexbane::blocks {

std::string HostOfEntry(std::string_view entry) {
  if (HasControlBytes(entry)) return std::string();
  return SiteOfAddress(entry);
}

bool HostIsBlocked(const std::vector<std::string>& entries, std::string_view host, std::string* matched) {
  if (host.empty()) return false;
  for (const std::string& entry : entries) {
    const std::string listed = HostOfEntry(entry);
    if (listed.empty() || listed.size() > host.size()) continue;
    if (host.compare(host.size() - listed.size(), listed.size(), listed) != 0) continue;
    // A whole label must match: "ads.example" is not the end of "bads.example".
    if (listed.size() == host.size() || host[host.size() - listed.size() - 1] == '.') {
      if (matched) *matched = entry;
      return true;
    }
  }
  return false;
}

std::optional<std::vector<std::string>> AddBlockedHost(const std::vector<std::string>& entries,
                                                       std::string_view targetUrl) {
  if (HasControlBytes(targetUrl)) return std::nullopt;
  const std::string host = SiteOfAddress(targetUrl);
  if (host.empty() || HostIsBlocked(entries, host)) return std::nullopt;
  std::vector<std::string> out = entries;
  out.push_back(host);
  return out;
}

}  // namespace vexbane::blocks
