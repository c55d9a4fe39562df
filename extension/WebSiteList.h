// The process's compiled copy of "WebSite.dat", shared by its browser threads.
#pragma once
#include <string>
#include <string_view>

namespace vexbane::ext {

// True when an entry of the allow list at `path` occurs in `pageUrl` (any letter case). The
// file is stamped at every call and read again whenever it may have changed; a missing file
// is created empty, and a list that cannot be read allows nothing. `matched` (when given)
// receives the first such entry of the list.
bool WebSiteListAllows(const std::string& path, std::string_view pageUrl, std::string* matched = nullptr) noexcept;

}  // namespace vexbane::ext
