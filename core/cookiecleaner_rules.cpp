// The cookie cleaner's choice of files and its checks of the folder and the names.
#include "core/cookiecleaner_rules.h"

#include "core/cookies.h"
#include "core/text.h"

namespace vexbane::cookiecleaner {
namespace {

bool IsSeparator(char c) { return c == '\\'; }

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

bool HasForbiddenCharacter(std::string_view text, std::string_view forbidden) {
  for (char c : text) {
    if (static_cast<unsigned char>(c) < 0x20 || forbidden.find(c) != std::string_view::npos) return true;
  }
  return false;
}

// Every part between separators must be a real name: no empty, "." or ".." parts.
bool PartsAreNames(std::string_view rest) {
  size_t start = 0;
  while (start <= rest.size()) {
    size_t end = rest.find('\\', start);
    if (end == std::string_view::npos) end = rest.size();
    std::string_view part = rest.substr(start, end - start);
    if (part.empty() || part == "." || part == "..") return false;
    start = end + 1;
  }
  return true;
}

}  // namespace

std::optional<std::string> CookieFolderFromRegistryText(std::string_view text) {
  text = text.substr(0, text.find('\0'));
  std::string folder = Trim(text);
  for (char& c : folder) {
    if (c == '/') c = '\\';
  }
  while (!folder.empty() && IsSeparator(folder.back())) folder.pop_back();
  if (HasForbiddenCharacter(folder, "*?\"<>|")) return std::nullopt;

  const bool drivePath = folder.size() > 3 && IsLetter(folder[0]) && folder[1] == ':' && folder[2] == '\\';
  if (drivePath) {
    std::string_view rest = std::string_view(folder).substr(3);
    if (rest.find(':') != std::string_view::npos || !PartsAreNames(rest)) return std::nullopt;
    return folder;
  }
  const bool sharePath = folder.size() > 2 && folder[0] == '\\' && folder[1] == '\\';
  if (sharePath) {
    std::string_view rest = std::string_view(folder).substr(2);
    // A share needs a server and a share name; the share itself is a root like a drive's.
    if (rest.find(':') != std::string_view::npos || !PartsAreNames(rest)) return std::nullopt;
    size_t serverEnd = rest.find('\\');
    if (serverEnd == std::string_view::npos || rest.find('\\', serverEnd + 1) == std::string_view::npos)
      return std::nullopt;
    return folder;
  }
  return std::nullopt;
}

bool IsPlainChildName(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return false;
  if (HasForbiddenCharacter(name, "\\/:*?\"<>|")) return false;
  if (name.find("..") != std::string_view::npos) return false;
  return name.back() != '.' && name.back() != ' ';
}

std::vector<std::string> SelectCookieFilesToDelete(const std::vector<FolderEntry>& listing,
                                                   const KeepListFile& keepList) {
  std::vector<std::string> doomed;
  if (keepList.status == KeepListStatus::kUnreadable) return doomed;
  const std::string keepText = keepList.status == KeepListStatus::kRead ? FirstLine(keepList.text) : std::string();
  for (const FolderEntry& entry : listing) {
    if (entry.isFolder || entry.isReparsePoint) continue;
    if (!IsPlainChildName(entry.name)) continue;
    if (IsCookieIndexFile(entry.name)) continue;
    if (KeepListContains(keepText, CookieNameFromFileName(entry.name))) continue;
    doomed.push_back(entry.name);
  }
  return doomed;
}

}  // namespace vexbane::cookiecleaner
