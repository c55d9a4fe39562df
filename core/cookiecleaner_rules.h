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
// used), ready to be resolved by the system. Surrounding spaces and trailing separators go; "/"
// counts as "\". Only a text naming an absolute folder below a drive ("C:\...") or a share
// ("\\server\share\...") goes on: an empty, relative or drive-relative text would resolve
// against the current folder, and wildcards, streams and device paths name no folder at all.
// The text is not yet the folder: "X\..", short names and trailing dots are spellings that only
// the resolution reveals, so `CheckResolvedCookieFolder` has the last word.
std::optional<std::string> CookieFolderFromRegistryText(std::string_view text);

// What the resolved cookie folder is.
enum class FolderVerdict {
  kUsable,
  kNotAFolderPath,  // no absolute drive or share path after all (a device path, wildcards)
  kRoot,            // a whole drive or share
  kProtected,       // a folder the system or the user lives in, or one that holds such a folder
};

// Judges the cookie folder after the system resolved it. `folderForms` holds the resolved folder
// in each spelling known for it (the full path and its short form); `protectedForms` the same for
// the Windows, System and Program Files folders and the profile's root, desktop and documents.
// Letters are compared without regard to case, and trailing dots and spaces of each part are
// ignored as Windows ignores them. A folder inside a protected one (the 95 family's
// "C:\WINDOWS\Cookies") is usable; the protected folder itself, or one above it, is not.
FolderVerdict CheckResolvedCookieFolder(const std::vector<std::string>& folderForms,
                                        const std::vector<std::string>& protectedForms);

// True for a name that, appended to "<folder>\", names an entry directly in that folder and
// nothing else: no separators, no drive or stream colon, no "..", no wildcard or control
// characters, and no trailing dot or space (which Windows would strip, naming another file).
bool IsPlainChildName(std::string_view name);

// True for the name of one of the browser's cookie files: an owner holding "@" with a name on
// either side of it, an optional "[n]" (decimal digits), and the extension ".txt", letters in any
// case, and a plain name of the folder itself (see IsPlainChildName). Anything else that lies in
// the folder (a user's documents, desktop.ini, the index files) is never a cookie file.
bool IsCookieFileName(std::string_view name);

// One entry of a folder listing, as the file system reports it.
struct FolderEntry {
  std::string name;
  bool isFolder = false;
  bool isReparsePoint = false;  // a link or junction: never followed, never deleted
};

// The subfolder of the cookie folder where Internet Explorer in Protected Mode (Vista and later)
// keeps its own cookies: the name of a plain folder "Low" (any case) in the listing; nothing when
// there is none or only a link of that name.
std::optional<std::string> ProtectedModeSubfolder(const std::vector<FolderEntry>& listing);

// What became of reading "IECookieURL.dat".
enum class KeepListStatus { kMissing, kRead, kUnreadable };

struct KeepListFile {
  KeepListStatus status = KeepListStatus::kMissing;
  std::string text;  // the whole file when read
};

// The names of the entries to delete: cookie files (IsCookieFileName) directly in the folder,
// except the index files and the files whose owner name the keep list's first line holds as "#name#" (any case).
// A missing keep list keeps nothing; a keep list that exists but cannot be read deletes nothing,
// since the user's choice of cookies to keep is unknown.
std::vector<std::string> SelectCookieFilesToDelete(const std::vector<FolderEntry>& listing,
                                                   const KeepListFile& keepList);

}  // namespace vexbane::cookiecleaner
