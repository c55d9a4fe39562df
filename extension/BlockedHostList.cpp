// The Blocked Hosts list kept between decisions, behind one lock for the process's threads.
#include "BlockedHostList.h"

#include <cstdint>

#include "SharedListFile.h"
#include "core/blocked_hosts.h"
#include "core/program_folder.h"

namespace vexbane::ext {
namespace {

// The allow list's cache keeps any list in WebSite.dat's format; only its entries are used
// here. The prepared set lives under the file's lock.
struct SharedHosts {
  SharedListFile file;
  uint64_t preparedFrom = 0;  // the file's list generation `hosts` was prepared from; 0: none
  blocks::BlockedHostSet hosts;
};
SharedHosts g_hosts;

}  // namespace

bool BlockedHostListHas(const std::string& path, std::string_view host) noexcept {
  if (host.empty()) return false;
  // Without its own folder (a module path beyond MAX_PATH) the list would be "\BlockedHost.dat",
  // created at the current drive's root, or a relative one wherever the browser stands: no list.
  const std::string::size_type slash = path.find_last_of('\\');
  if (slash == std::string::npos || !IsAbsoluteFolder(std::string_view(path).substr(0, slash))) return false;
  return g_hosts.file.Consult(path, [&](const AllowListMatcher& list) {
    // Prepared again only when the cache built its list anew: no comparison of the entries at
    // every decision, and no second copy of them.
    if (g_hosts.file.generation() != g_hosts.preparedFrom) {
      g_hosts.hosts = blocks::BlockedHostSet(list.entries());
      g_hosts.preparedFrom = g_hosts.file.generation();
    }
    return g_hosts.hosts.Blocks(host);
  });
}

}  // namespace vexbane::ext
