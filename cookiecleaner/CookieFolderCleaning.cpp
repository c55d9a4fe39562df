// Reads the cookie folder and the keep list, lists the folder and deletes the chosen files.
#include "CookieFolderCleaning.h"

#include <windows.h>

#include <optional>
#include <vector>

#include "CookieFolderResolution.h"
#include "core/cookiecleaner_rules.h"
#include "core/settings.h"
#include "win/file.h"
#include "win/registry.h"
#include "win/unique.h"
#include "win/version.h"

namespace vexbane::cookiecleaner {
namespace {

constexpr const char* kShellFoldersPath = settings::kShellFoldersKeyPath;
constexpr const char* kCookiesValue = settings::kCookies;
constexpr uint32_t kShellFolderBufferSize = settings::kShellFolderBufferSize;
using win::UniqueFind;

// The cookie folder when the value names a folder that may be cleaned (CookieFolderResolution.h).
std::optional<std::string> ReadCookieFolder() {
  std::string bytes;
  if (win::QueryValueBytes(HKEY_CURRENT_USER, kShellFoldersPath, kCookiesValue, kShellFolderBufferSize, bytes) !=
      ERROR_SUCCESS)
    return std::nullopt;
  return ResolveCookieFolder(bytes);
}

KeepListFile ReadKeepList(const std::string& programFolder) {
  // Without its own folder the component cannot know what the user chose to keep.
  if (programFolder.empty()) return KeepListFile{KeepListStatus::kUnreadable, {}};
  KeepListFile keep;
  DWORD rc = win::ReadWholeFile(programFolder + "\\" + kKeepListFileName, keep.text);
  if (rc == ERROR_SUCCESS) keep.status = KeepListStatus::kRead;
  else if (rc == ERROR_FILE_NOT_FOUND) keep.status = KeepListStatus::kMissing;
  else keep.status = KeepListStatus::kUnreadable;
  return keep;
}

// The ANSI names may differ from the real ones: a character outside the code page comes back
// as "?" or as a best-fit look-alike (a full-width backslash as a real one), which is why the
// choice of files accepts only names that cannot reach past the folder.
std::vector<FolderEntry> ListFolder(const std::string& folder) {
  std::vector<FolderEntry> listing;
  WIN32_FIND_DATAA found;
  UniqueFind find(::FindFirstFileA((folder + "\\*").c_str(), &found));
  if (!find) return listing;
  do {
    listing.push_back(FolderEntry{found.cFileName, (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                                  (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0});
  } while (::FindNextFileA(find.get(), &found));
  return listing;
}

// A read-only or open file refuses; it stays, and the rest are still tried.
void DeleteEach(const std::string& folder, const std::vector<std::string>& names) {
  for (const std::string& name : names) ::DeleteFileA((folder + "\\" + name).c_str());
}

// Internet Explorer in Protected Mode (Vista and later) keeps its cookies in the subfolder "Low"
// of the cookie folder. Only a plain folder of that name counts: a link would lead the cleaning
// out of the cookie folder.
std::optional<std::string> ProtectedModeFolder(const std::string& folder) {
  if (!win::IsVistaOrLater()) return std::nullopt;
  const std::optional<std::string> name = ProtectedModeSubfolder(ListFolder(folder));
  if (!name) return std::nullopt;
  return folder + "\\" + *name;
}

}  // namespace

void CleanCookieFolder(const std::string& programFolder) noexcept {
  try {
    std::optional<std::string> folder = ReadCookieFolder();
    if (!folder) return;
    KeepListFile keep = ReadKeepList(programFolder);
    if (keep.status == KeepListStatus::kUnreadable) return;
    DeleteEach(*folder, SelectCookieFilesToDelete(ListFolder(*folder), keep));
    // The same keep list and the same rule for Protected Mode's own cookies.
    if (auto low = ProtectedModeFolder(*folder)) DeleteEach(*low, SelectCookieFilesToDelete(ListFolder(*low), keep));
  } catch (...) {
    // Out of memory while listing: whatever was deleted stays deleted, the rest stays.
  }
}

}  // namespace vexbane::cookiecleaner
