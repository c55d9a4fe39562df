// The Blocked Hosts list kept between decisions, behind one lock for the process's threads.
#include "BlockedHostList.h"

#include <windows.h>

#include "core/allow_list_cache.h"
#include "core/blocked_hosts.h"
#include "win/critical_section.h"
#include "win/file.h"
#include "win/file_stamp.h"

namespace vexbane::ext {
namespace {

// Stamped and read through one handle, so the stamp belongs to the text read.
class OpenBlockedHostFile final : public AllowListFile {
 public:
  explicit OpenBlockedHostFile(const std::string& path) : m_path(path) {}
  bool Open(FileStamp& stamp) override {
    DWORD rc = win::OpenDataFile(m_path, m_file);
    if (rc == ERROR_FILE_NOT_FOUND) {
      win::CreateFileIfMissing(m_path);
      rc = win::OpenDataFile(m_path, m_file);
    }
    return rc == ERROR_SUCCESS && win::StampOf(m_file.get(), stamp) == ERROR_SUCCESS;
  }
  bool ReadAll(std::string& text) override { return win::ReadToEnd(m_file.get(), text) == ERROR_SUCCESS; }
  uint64_t Now() override { return win::SystemTimeTicks(); }

 private:
  const std::string& m_path;
  win::UniqueFile m_file;
};

// The allow list's cache keeps any list in WebSite.dat's format; only its entries are used here.
struct SharedList {
  win::CriticalSection lock;
  AllowListCache cache;
  std::vector<std::string> entries;  // what `hosts` was prepared from
  blocks::BlockedHostSet hosts;
};
SharedList g_hosts;

}  // namespace

bool BlockedHostListHas(const std::string& path, std::string_view host) noexcept {
  try {
    if (host.empty()) return false;
    win::Lock hold(g_hosts.lock);
    OpenBlockedHostFile file(path);
    const AllowListMatcher* list = g_hosts.cache.Current(path, file);
    if (!list) return false;
    // Prepared again only when the list read differs from the one prepared.
    if (list->entries() != g_hosts.entries) {
      g_hosts.hosts = blocks::BlockedHostSet(list->entries());
      g_hosts.entries = list->entries();
    }
    return g_hosts.hosts.Blocks(host);
  } catch (...) {
    return false;
  }
}

}  // namespace vexbane::ext
