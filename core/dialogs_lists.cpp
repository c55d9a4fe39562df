// List contents of the allow-list editor and the cookie manager.
#include "dialogs_lists.h"

#include <algorithm>

#include "cookies.h"
#include "text.h"

namespace vexbane::dialogs {
namespace {
// Letters fold to lower case so that the punctuation between "Z" and "a" ("_", "^") sorts
// before the letters, as it does in the system's list boxes.
char FoldLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
}  // namespace

std::optional<std::string> KeywordToAdd(std::string_view typed) {
  std::string keyword = Trim(typed);
  if (keyword.empty()) return std::nullopt;
  return keyword;
}

bool LessNoCase(std::string_view a, std::string_view b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return static_cast<unsigned char>(FoldLower(x)) < static_cast<unsigned char>(FoldLower(y));
  });
}

std::vector<std::string> InsertSorted(std::vector<std::string> entries, const std::string& keyword) {
  auto at = std::find_if(entries.begin(), entries.end(), [&](const std::string& e) { return LessNoCase(keyword, e); });
  entries.insert(at, keyword);
  return entries;
}

std::optional<std::vector<std::string>> RemoveShownEntry(std::vector<std::string> entries, size_t index,
                                                         const std::string& shown) {
  if (index >= entries.size() || entries[index] != shown) {
    // Another save changed the list since it was shown: the entry of that text goes, if any.
    auto same = std::find(entries.begin(), entries.end(), shown);
    if (same == entries.end()) return std::nullopt;
    index = static_cast<size_t>(same - entries.begin());
  }
  entries.erase(entries.begin() + static_cast<std::ptrdiff_t>(index));
  return entries;
}

std::vector<std::string> CookieNamesFromFiles(const std::vector<std::string>& fileNames) {
  std::vector<std::string> names;
  std::string seen;
  for (const std::string& file : fileNames) {
    if (IsCookieIndexFile(file)) continue;
    std::string name = CookieNameFromFileName(file);
    if (KeepListContains(seen, name)) continue;
    seen += FormatKeepList({name});
    names.push_back(std::move(name));
  }
  return names;
}

std::vector<CookieItem> BuildCookieList(std::vector<std::string> names, std::string_view keepText) {
  std::stable_sort(names.begin(), names.end(),
                   [](const std::string& a, const std::string& b) { return LessNoCase(a, b); });
  std::vector<CookieItem> kept;
  std::vector<CookieItem> others;
  for (std::string& name : names) {
    bool keep = KeepListContains(keepText, name);
    (keep ? kept : others).push_back({std::move(name), keep});
  }
  kept.insert(kept.end(), std::make_move_iterator(others.begin()), std::make_move_iterator(others.end()));
  return kept;
}

std::string KeepListFileText(const std::vector<CookieItem>& items) {
  std::vector<std::string> checked;
  for (const CookieItem& item : items) {
    if (item.checked) checked.push_back(item.name);
  }
  return FormatKeepList(checked) + "\r\n";
}

std::string CleanQuestion(const std::vector<CookieItem>& items) {
  size_t going = 0;
  for (const CookieItem& item : items) {
    if (!item.checked) ++going;
  }
  if (going == 0) return "Every site in the list is checked, so no listed site's cookies will be deleted. Clean now?";
  return "The cookies of " + std::to_string(going) + (going == 1 ? " site" : " sites") +
         " will be deleted; the checked sites keep theirs. Clean now?";
}

std::string NoCookiesText(std::string_view folder) {
  if (folder.empty() || folder == "No" || folder == "NO")
    return "No cookies found: Windows names no cookie folder for this account.";
  return "No cookies found in " + std::string(folder) + ".";
}

}  // namespace vexbane::dialogs
