// Cookie files and the keep list "IECookieURL.dat": which owner a cookie file belongs to,
// which files are the browser's index files, and the one-line "#name#" keep-list format.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace vexbane {

// True for the browser's index files ("index.dat" and any name beginning "INDEX" in any case).
bool IsCookieIndexFile(std::string_view fileName);

// The owner name of a cookie file: the text before the first "[" when "[" stands at the second
// character or later ("user@site[2].txt" -> "user@site"); otherwise the name without its last
// four characters (the extension); a name of fewer than four characters stays whole.
std::string CookieNameFromFileName(std::string_view fileName);

// The keep list's single line for these names: "#a##b#", empty for none.
std::string FormatKeepList(const std::vector<std::string>& names);

// True when "#name#" occurs in the keep text, letters compared without regard to case.
bool KeepListContains(std::string_view keepText, std::string_view name);

// The first line of a keep-list file's text (without its line end); empty when there is none.
std::string FirstLine(std::string_view fileText);

}  // namespace vexbane
