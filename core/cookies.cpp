// Cookie-file names and the keep-list format.
#include "cookies.h"

#include "text.h"

namespace vexbane {

bool IsCookieIndexFile(std::string_view fileName) {
  return ToUpper(fileName.substr(0, 5)) == "INDEX";
}

std::string CookieNameFromFileName(std::string_view fileName) {
  size_t bracket = fileName.find('[');
  if (bracket != std::string_view::npos && bracket >= 1) return std::string(fileName.substr(0, bracket));
  if (fileName.size() < 4) return std::string(fileName);
  return std::string(fileName.substr(0, fileName.size() - 4));
}

std::string FormatKeepList(const std::vector<std::string>& names) {
  std::string out;
  for (const std::string& n : names) out += "#" + n + "#";
  return out;
}

bool KeepListContains(std::string_view keepText, std::string_view name) {
  return ContainsNoCase(keepText, "#" + std::string(name) + "#");
}

std::string FirstLine(std::string_view fileText) {
  size_t end = fileText.find('\n');
  std::string_view line = fileText.substr(0, end);
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return std::string(line);
}

}  // namespace vexbane
