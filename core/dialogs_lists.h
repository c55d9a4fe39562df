// What the allow-list editor and the cookie manager show and write: keywords to add, cookie names, list order, keep text.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vexbane::dialogs {

// The keyword that "Add" stores: the typed text without surrounding spaces; nothing when only
// spaces (or nothing) were typed.
std::optional<std::string> KeywordToAdd(std::string_view typed);

// Alphabetical order without regard to letter case, the same on every system and locale: the
// order the editor keeps its list in and the cookie manager shows its names in.
bool LessNoCase(std::string_view a, std::string_view b);

// Cookie owners from the file names of the cookie folder, in the order the folder gives them:
// index files skipped, one name per owner (the first spelling met wins when two differ only in
// letter case).
std::vector<std::string> CookieNamesFromFiles(const std::vector<std::string>& fileNames);

// The entries with `keyword` added at its sorted place: before the first entry that sorts after
// it, letters compared without regard to case, so a sorted list stays sorted and an unsorted
// one keeps its order. Duplicates are kept.
std::vector<std::string> InsertSorted(std::vector<std::string> entries, const std::string& keyword);

// The entries without the one shown at `index` with the text `shown`: that very entry while the
// list still holds it there, else the first entry of that text; nothing when none is left.
std::optional<std::vector<std::string>> RemoveShownEntry(std::vector<std::string> entries, size_t index,
                                                         const std::string& shown);

struct CookieItem {
  std::string name;
  bool checked;
};

// The cookie manager's list: the names found in the keep text first, checked and in
// alphabetical order, then the others, unchecked and in alphabetical order.
std::vector<CookieItem> BuildCookieList(std::vector<std::string> names, std::string_view keepText);

// The keep-list file for the checked items, in list order: one line "#a##b#" ended by CR LF.
std::string KeepListFileText(const std::vector<CookieItem>& items);

// The question "Clean" asks before the cleaner runs: how many listed sites lose their cookies
// (the unchecked ones).
std::string CleanQuestion(const std::vector<CookieItem>& items);

// What the empty cookie list says: the folder it looked in, or that there is none. `folder` is
// the cookie folder as the registry reader gives it ("NO" or "No" when it could not be read).
std::string NoCookiesText(std::string_view folder);

}  // namespace vexbane::dialogs
