// What the cookie cleaner may delete: the call's code check, the cookie folder as the registry
// gives it, and the choice of files from a folder listing and the keep list.
#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/product_ids.h"

namespace vexbane::cookiecleaner {

// True only for the exact code string, letter case included. The text is taken with its full
// length, so a longer text that merely starts with the code (or holds a NUL after it) is refused.
template <typename Char>
bool IsCleanCode(const Char* text, size_t length) {
  constexpr size_t kLength = sizeof ids::kCookieCleanerCode - 1;
  if (text == nullptr || length != kLength) return false;
  for (size_t i = 0; i < kLength; ++i) {
    // Compare as code units, so no wide character folds onto an ASCII letter.
    if (static_cast<unsigned long>(text[i]) !=
        static_cast<unsigned long>(static_cast<unsigned char>(ids::kCookieCleanerCode[i])))
      return false;
  }
  return true;
}

// The cookie folder from the text of the shell-folder value (the bytes up to the first NUL are
// used). Surrounding spaces and trailing separators go; "/" counts as "\". Only an absolute
// folder below a drive ("C:\...") or a share ("\\server\share...") is accepted: an empty,
// relative or drive-relative text would resolve against the current folder, and a drive root
// or a path with "." or ".." parts or wildcards is no cookie folder a user would want emptied.
std::optional<std::string> CookieFolderFromRegistryText(std::string_view text);

// True for a name that, appended to "<folder>\", names an entry directly in that folder and
// nothing else: no separators, no drive or stream colon, no "..", no wildcard or control
// characters, and no trailing dot or space (which Windows would strip, naming another file).
bool IsPlainChildName(std::string_view name);

// One entry of a folder listing, as the file system reports it.
struct FolderEntry {
  std::string name;
  bool isFolder = false;
  bool isReparsePoint = false;  // a link or junction: never followed, never deleted
};

// What became of reading "IECookieURL.dat".
enum class KeepListStatus { kMissing, kRead, kUnreadable };

struct KeepListFile {
  KeepListStatus status = KeepListStatus::kMissing;
  std::string text;  // the whole file when read
};

// The names of the entries to delete: plain files directly in the folder, except the index
// files and the files whose owner name the keep list's first line holds as "#name#" (any case).
// A missing keep list keeps nothing; a keep list that exists but cannot be read deletes nothing,
// since the user's choice of cookies to keep is unknown.
std::vector<std::string> SelectCookieFilesToDelete(const std::vector<FolderEntry>& listing,
                                                   const KeepListFile& keepList);

}  // namespace vexbane::cookiecleaner
