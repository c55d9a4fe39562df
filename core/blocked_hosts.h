// The Blocked Hosts list: hosts whose new windows are blocked even right after a click.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vexbane::blocks {

// The host an entry of the list names, lower-cased: the entry as typed may be a host
// ("Ads.Example", ".ads.example", "*.ads.example", "ads.example:80") or an address
// ("http://ads.example/x"). Empty for an entry that names no host ("*ads.example") or holds a
// control byte: such an entry blocks nothing, and the editor refuses it.
std::string HostOfEntry(std::string_view entry);

// True when `host` (as SiteOfAddress gives it) equals an entry's host or ends in "." plus it:
// "ads.example" blocks "ads.example" and "x.ads.example", never "bads.example". Returns the
// entry in `matched` when given.
bool HostIsBlocked(const std::vector<std::string>& entries, std::string_view host, std::string* matched = nullptr);

// The list prepared for many lookups: each entry's host once, sorted, so that a lookup costs one
// search per label of the host ("x.ads.example": "x.ads.example", "ads.example", "example")
// whatever the length of the list. Answers as HostIsBlocked over the same entries.
class BlockedHostSet {
 public:
  BlockedHostSet() = default;
  explicit BlockedHostSet(const std::vector<std::string>& entries);
  bool Blocks(std::string_view host) const;

 private:
  std::vector<std::string> m_hosts;  // sorted, no duplicates, no empty host
};

// What "Block Host" adds for a blocked window's target address: the list with the target's
// host added at its end; nothing when the address has no host or the list already blocks it.
std::optional<std::vector<std::string>> AddBlockedHost(const std::vector<std::string>& entries,
                                                       std::string_view targetUrl);

}  // namespace vexbane::blocks
