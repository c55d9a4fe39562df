// The Blocked Hosts list's matching rule.
#include "blocked_hosts.h"

#include <algorithm>

#include "core/block_record_v2.h"
#include "core/recent_blocks.h"

namespace vexbane::blocks {

std::string HostOfEntry(std::string_view entry) {
  if (HasControlBytes(entry)) return std::string();
  std::string host = SiteOfAddress(entry);
  // ".ads.example" and "*.ads.example" are the ways people write "ads.example and every host
  // below it", which an entry means anyway; kept as typed they would never match a host.
  size_t meant = 0;
  while (meant < host.size()) {
    if (host[meant] == '.') {
      ++meant;
    } else if (host.compare(meant, 2, "*.") == 0) {
      meant += 2;
    } else {
      break;
    }
  }
  host.erase(0, meant);
  // Any other wildcard ("*ads.example", "ads.*.example") names no host at all.
  if (host.find('*') != std::string::npos) return std::string();
  return host;
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

BlockedHostSet::BlockedHostSet(const std::vector<std::string>& entries) {
  for (const std::string& entry : entries) {
    std::string host = HostOfEntry(entry);
    if (!host.empty()) m_hosts.push_back(std::move(host));
  }
  std::sort(m_hosts.begin(), m_hosts.end());
  m_hosts.erase(std::unique(m_hosts.begin(), m_hosts.end()), m_hosts.end());
}

bool BlockedHostSet::Blocks(std::string_view host) const {
  while (!host.empty()) {
    if (std::binary_search(m_hosts.begin(), m_hosts.end(), host, std::less<>())) return true;
    const size_t dot = host.find('.');
    if (dot == std::string_view::npos) return false;
    host.remove_prefix(dot + 1);
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
