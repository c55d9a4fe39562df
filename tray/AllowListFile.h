// The allow-list file "WebSite.dat" in the program folder, as the tray's windows read and rewrite it.
#pragma once
#include <optional>
#include <string>
#include <vector>

namespace vexbane::tray {

// The entries of the file, created empty when missing; nothing when it cannot be read, so that
// a caller never rewrites a list it did not see.
std::optional<std::vector<std::string>> ReadAllowListFile() noexcept;

// Rewrites the whole file for these entries, in their order; false when it could not be written
// (the old file is then untouched) or when an entry holds a control character, which would
// break the file's lines (IsStorableAllowListEntry).
bool WriteAllowListFile(const std::vector<std::string>& entries) noexcept;

}  // namespace vexbane::tray
