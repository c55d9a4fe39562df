// The process's compiled copy of "BlockedHost.dat", shared by its browser threads.
#pragma once
#include <string>
#include <string_view>

namespace vexbane::ext {

// True when the list at `path` blocks `host` (an entry equal to it or a parent of it). Read
// again whenever the file may have changed, as the allow list is; a missing file is created
// empty, and a list that cannot be read blocks nothing.
bool BlockedHostListHas(const std::string& path, std::string_view host) noexcept;

}  // namespace vexbane::ext
