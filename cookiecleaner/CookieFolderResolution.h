// The cookie folder as Windows resolves it, and the folders that must never be emptied.
#pragma once
#include <optional>
#include <string>
#include <vector>

namespace vexbane::cookiecleaner {

// The full path that the system makes of `path` (GetFullPathNameA: ".", "..", doubled
// separators and trailing dots and spaces resolved), without a trailing separator; empty when
// the system cannot resolve it.
std::string FullPathOf(const std::string& path);

// The spellings of one existing or missing folder that the checks compare: its full path and,
// when the folder exists and has one, its short (8.3) form. The floor has no GetLongPathNameA,
// so two spellings are known to be the same folder when their short forms agree.
std::vector<std::string> SpellingsOf(const std::string& fullPath);

// The Windows, System and Program Files folders, the profile's root (USERPROFILE where set) and
// the user's desktop and documents folders ("Desktop", "Personal"), each in every spelling known.
std::vector<std::string> ProtectedFolderSpellings();

// The folder to clean for the text of the "Cookies" value: resolved, judged against the roots
// and the protected folders, and present as a real directory (a link or junction is not
// followed). Nothing when any of that fails.
std::optional<std::string> ResolveCookieFolder(const std::string& registryText);

}  // namespace vexbane::cookiecleaner
