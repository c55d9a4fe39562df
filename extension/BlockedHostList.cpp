// The Blocked Hosts list kept between decisions, behind one lock for the process's threads.
#include "BlockedHostList.h"

#include <vector>

#include "SharedListFile.h"
#include "core/blocked_hosts.h"

namespace vexbane::ext {
namespace {

// The allow list's cache keeps any list in WebSite.dat's format; only its entries are used
// here. The prepared set lives under the file's lock.
struct SharedHosts {
  SharedListFile file;
  std::vector<std::string> entries;  // what `hosts` was prepared from
  blocks::BlockedHostSet hosts;
};
SharedHosts g_hosts;

}  // namespace

bool BlockedHostListHas(const std::string& path, std::string_view host) noexcept {
  if (host.empty()) return false;
  return g_hosts.file.Consult(path, [&](const AllowListMatcher& list) {
    // Prepared again only when the list read differs from the one prepared.
    if (list.entries() != g_hosts.entries) {
      g_hosts.hosts = blocks::BlockedHostSet(list.entries());
      g_hosts.entries = list.entries();
    }
    return g_hosts.hosts.Blocks(host);
  });
}

}  // namespace vexbane::ext
