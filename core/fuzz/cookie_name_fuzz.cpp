// Feeds arbitrary folder listings to the plain-name and cookie-name rules and the choice of files.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/cookiecleaner_rules.h"
#include "core/cookies.h"

using namespace vexbane::cookiecleaner;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  // The first line is the keep list; each further line one entry, its first byte its kind.
  const size_t lineEnd = input.find('\n');
  KeepListFile keep{KeepListStatus::kRead, std::string(input.substr(0, lineEnd))};
  std::vector<FolderEntry> listing;
  for (size_t start = lineEnd; start != std::string_view::npos && start < input.size();) {
    size_t end = input.find('\n', start + 1);
    std::string_view line = input.substr(start + 1, end == std::string_view::npos ? end : end - start - 1);
    start = end;
    if (line.empty()) continue;
    const unsigned char kind = static_cast<unsigned char>(line[0]);
    listing.push_back(FolderEntry{std::string(line.substr(1)), (kind & 1) != 0, (kind & 2) != 0});
  }

  for (const FolderEntry& entry : listing) {
    const bool cookie = IsCookieFileName(entry.name);
    // A cookie file is always a plain name of the folder, with its owner holding "@".
    if (cookie && !IsPlainChildName(entry.name)) __builtin_trap();
    if (cookie && vexbane::CookieNameFromFileName(entry.name).find('@') == std::string::npos) __builtin_trap();
    if (IsPlainChildName(entry.name) &&
        (entry.name.find('\\') != std::string::npos || entry.name.find(':') != std::string::npos ||
         entry.name.find("..") != std::string::npos))
      __builtin_trap();
  }
  const std::vector<std::string> doomed = SelectCookieFilesToDelete(listing, keep);
  size_t next = 0;
  for (const std::string& name : doomed) {
    // Every name chosen is a cookie file listed as a plain file (a listing may repeat a name as a
    // folder or a link), in listing order.
    while (next < listing.size() &&
           (listing[next].name != name || listing[next].isFolder || listing[next].isReparsePoint))
      ++next;
    if (next == listing.size()) __builtin_trap();
    ++next;
    if (!IsCookieFileName(name) || vexbane::IsCookieIndexFile(name)) __builtin_trap();
    if (vexbane::KeepListContains(keep.text, vexbane::CookieNameFromFileName(name))) __builtin_trap();
  }
  // Without a readable keep list nothing goes.
  if (!SelectCookieFilesToDelete(listing, KeepListFile{KeepListStatus::kUnreadable, keep.text}).empty())
    __builtin_trap();
  return 0;
}
