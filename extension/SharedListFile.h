// A list file in WebSite.dat's format, kept compiled for the whole process behind one lock.
#pragma once
#include <string>

#include "core/allow_list_cache.h"
#include "win/critical_section.h"
#include "win/folder_watch.h"

namespace vexbane::ext {

// One copy a list for the process: browser threads of one process share the program folder,
// and a copy per thread would hold the whole list once for every window. Define it at
// namespace scope, so it is built when the module loads, before any browser thread can call.
class SharedListFile {
 public:
  // Calls `use` with the list at `path` as the file holds it now (stamped at every call unless a
  // trusted copy was stamped within kRestampTicks and nothing was written in its folder since;
  // read again whenever it may have changed; a missing file is created empty) and returns what it
  // returns. The lock is held through the call, so `use` may keep state prepared from the list
  // beside it. False when the list cannot be read, or when anything throws.
  template <class Use>
  bool Consult(const std::string& path, Use use) noexcept {
    try {
      win::Lock hold(m_lock);
      const AllowListMatcher* list = Current(path);
      return list && use(*list);
    } catch (...) {
      return false;
    }
  }
  // Inside `use` only: the cache's generation of the list it was handed (see AllowListCache).
  uint64_t generation() const noexcept { return m_cache.generation(); }

 private:
  const AllowListMatcher* Current(const std::string& path);

  win::CriticalSection m_lock;
  win::FolderWatch m_watch;  // the list's folder: a write there makes the next call stamp the file
  AllowListCache m_cache;
};

}  // namespace vexbane::ext
