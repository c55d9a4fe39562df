// The list files of the program folder ("WebSite.dat", "BlockedHost.dat"), as the tray's windows read and rewrite them.
#pragma once
#include <optional>
#include <string>
#include <vector>

namespace vexbane::tray {

// The entries of the file, created empty when missing; nothing when it cannot be read (or the
// program folder is not known), so that a caller never rewrites a list it did not see. When
// it cannot be read, `why` (if given) receives a sentence naming the file and the likely cause.
std::optional<std::vector<std::string>> ReadListFile(const char* fileName, std::string* why = nullptr) noexcept;

// Rewrites the whole file for these entries, in their order; false when it could not be written
// (the old file is then untouched) or when an entry holds a control character, which would
// break the file's lines (IsStorableAllowListEntry). A file that could not be written gives
// `why` (if given) a sentence naming it and the likely cause.
bool WriteListFile(const char* fileName, const std::vector<std::string>& entries, std::string* why = nullptr) noexcept;

// A notice followed by the file's problem, when one is known.
std::string WithCause(const std::string& notice, const std::string& why);

// The allow list "WebSite.dat".
std::optional<std::vector<std::string>> ReadAllowListFile(std::string* why = nullptr) noexcept;
bool WriteAllowListFile(const std::vector<std::string>& entries, std::string* why = nullptr) noexcept;

}  // namespace vexbane::tray
