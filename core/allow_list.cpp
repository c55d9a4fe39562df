// The allow list's file format and its match rule.
#include "allow_list.h"

#include "text.h"

namespace vexbane {

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t lf = text.find('\n', start);
    size_t end = (lf == std::string_view::npos) ? text.size() : lf;
    size_t len = end - start;
    if (len > 0 && text[start + len - 1] == '\r') --len;
    lines.emplace_back(text.substr(start, len));
    if (lf == std::string_view::npos) break;
    start = lf + 1;
  }
  return lines;
}

std::vector<std::string> ParseAllowList(std::string_view fileText) {
  std::vector<std::string> lines = SplitLines(fileText);
  std::vector<std::string> entries;
  if (lines.empty()) return entries;

  size_t limit = lines.size() - 1;  // every line after the count
  if (auto count = ToInt16(lines[0])) {
    size_t wanted = *count > 0 ? static_cast<size_t>(*count) : 0;
    if (wanted < limit) limit = wanted;
  }
  for (size_t i = 1; i <= limit; ++i) {
    if (!Trim(lines[i]).empty()) entries.push_back(lines[i]);
  }
  return entries;
}

std::string FormatAllowList(const std::vector<std::string>& entries) {
  std::string out = std::to_string(entries.size()) + "\r\n";
  for (const std::string& e : entries) out += e + "\r\n";
  return out;
}

bool IsStorableAllowListEntry(std::string_view entry) { return !HoldsControlCharacter(entry); }

bool AllowListMatches(const std::vector<std::string>& entries, std::string_view pageUrl) {
  for (const std::string& e : entries) {
    if (!Trim(e).empty() && ContainsNoCase(pageUrl, e)) return true;
  }
  return false;
}

}  // namespace vexbane
