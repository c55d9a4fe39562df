// The allow list kept compiled between decisions, behind one lock for the process's threads.
#include "WebSiteList.h"

#include <windows.h>

#include "core/allow_list_cache.h"
#include "win/critical_section.h"
#include "win/file.h"
#include "win/file_stamp.h"

namespace vexbane::ext {
namespace {

// The file as the cache sees it: stamped and read through one handle, so the stamp belongs
// to the file whose text is read.
class OpenWebSiteFile final : public AllowListFile {
 public:
  explicit OpenWebSiteFile(const std::string& path) : m_path(path) {}
  bool Open(FileStamp& stamp) override {
    DWORD rc = win::OpenDataFile(m_path, m_file);
    if (rc == ERROR_FILE_NOT_FOUND) {
      // A missing list is created empty, as the editor would, and read as such. (Not in one
      // open-or-create: on the 95 family the file is missing for a moment in every save.)
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

// One copy for the process: browser threads of one process share the program folder, and a
// copy per thread would hold the whole list once for every window. Built when the module
// loads, before any browser thread can call.
struct SharedList {
  win::CriticalSection lock;
  AllowListCache cache;
};
SharedList g_list;

}  // namespace

bool WebSiteListAllows(const std::string& path, std::string_view pageUrl, std::string* matched) noexcept {
  try {
    win::Lock hold(g_list.lock);
    OpenWebSiteFile file(path);
    const AllowListMatcher* list = g_list.cache.Current(path, file);
    if (!list) return false;
    const size_t first = list->FirstMatch(pageUrl);
    if (first == AllowListMatcher::kNoMatch) return false;
    if (matched) *matched = list->entries()[first];
    return true;
  } catch (...) {
    return false;
  }
}

}  // namespace vexbane::ext
