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

// A path split for comparison: its root ("C:" or "\\SERVER\SHARE") and its parts, upper-cased,
// each without the trailing dots and spaces that Windows ignores.
struct SplitPath {
  std::string root;
  std::vector<std::string> parts;
};

std::string WithoutTrailingDotsAndSpaces(std::string_view part) {
  size_t end = part.size();
  while (end > 0 && (part[end - 1] == '.' || part[end - 1] == ' ')) --end;
  return std::string(part.substr(0, end));
}

// Splits an absolute drive or share path; nothing for any other text, and nothing for a part that
// names no folder of its own ("." or "..", a stream, a name of dots and spaces only).
std::optional<SplitPath> Split(std::string_view text) {
  std::string path(text);
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  if (HasForbiddenCharacter(path, "*?\"<>|")) return std::nullopt;
  SplitPath split;
  size_t rest = 0;
  if (path.size() >= 2 && IsLetter(path[0]) && path[1] == ':') {
    if (path.size() > 2 && path[2] != '\\') return std::nullopt;  // relative to the drive's current folder
    split.root = ToUpper(path.substr(0, 2));
    rest = 2;
  } else if (path.size() > 2 && path[0] == '\\' && path[1] == '\\') {
    size_t serverEnd = path.find('\\', 2);
    if (serverEnd == std::string::npos || serverEnd == 2) return std::nullopt;
    const std::string server = path.substr(2, serverEnd - 2);
    if (server == "." || server == "?") return std::nullopt;  // a device path, no share
    size_t shareEnd = path.find('\\', serverEnd + 1);
    if (shareEnd == std::string::npos) shareEnd = path.size();
    const std::string share = WithoutTrailingDotsAndSpaces(path.substr(serverEnd + 1, shareEnd - serverEnd - 1));
    if (share.empty() || server.find(':') != std::string::npos || share.find(':') != std::string::npos)
      return std::nullopt;
    split.root = ToUpper("\\\\" + server + "\\" + share);
    rest = shareEnd;
  } else {
    return std::nullopt;
  }
  size_t start = rest;
  while (start < path.size()) {
    size_t end = path.find('\\', start);
    if (end == std::string::npos) end = path.size();
    std::string_view part = std::string_view(path).substr(start, end - start);
    start = end + 1;
    if (part.empty()) continue;  // a doubled separator
    if (part == "." || part == ".." || part.find(':') != std::string_view::npos) return std::nullopt;
    std::string name = WithoutTrailingDotsAndSpaces(part);
    if (name.empty()) return std::nullopt;
    split.parts.push_back(ToUpper(name));
  }
  return split;
}

// True when `folder` is `other` or a folder above it.
bool IsSameOrAbove(const SplitPath& folder, const SplitPath& other) {
  if (folder.root != other.root || folder.parts.size() > other.parts.size()) return false;
  for (size_t i = 0; i < folder.parts.size(); ++i) {
    if (folder.parts[i] != other.parts[i]) return false;
  }
  return true;
}

bool IsDecimal(std::string_view text) {
  if (text.empty()) return false;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
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
    if (std::string_view(folder).substr(3).find(':') != std::string_view::npos) return std::nullopt;
    return folder;
  }
  const bool sharePath = folder.size() > 2 && folder[0] == '\\' && folder[1] == '\\';
  if (sharePath) {
    std::string_view rest = std::string_view(folder).substr(2);
    // A share needs a server and a share name; the share itself is a root like a drive's.
    if (rest.find(':') != std::string_view::npos) return std::nullopt;
    size_t serverEnd = rest.find('\\');
    if (serverEnd == 0 || serverEnd == std::string_view::npos ||
        rest.find('\\', serverEnd + 1) == std::string_view::npos)
      return std::nullopt;
    const std::string_view server = rest.substr(0, serverEnd);
    if (server == "." || server == "?") return std::nullopt;  // a device path
    return folder;
  }
  return std::nullopt;
}

FolderVerdict CheckResolvedCookieFolder(const std::vector<std::string>& folderForms,
                                        const std::vector<std::string>& protectedForms) {
  if (folderForms.empty()) return FolderVerdict::kNotAFolderPath;
  std::vector<SplitPath> folders;
  for (const std::string& form : folderForms) {
    std::optional<SplitPath> split = Split(form);
    // Every spelling must stand up: a form that names no folder leaves the folder unknown.
    if (!split) return FolderVerdict::kNotAFolderPath;
    if (split->parts.empty()) return FolderVerdict::kRoot;
    folders.push_back(std::move(*split));
  }
  for (const std::string& form : protectedForms) {
    std::optional<SplitPath> kept = Split(form);
    if (!kept) continue;  // an unreadable or odd setting protects nothing and refuses nothing
    for (const SplitPath& folder : folders) {
      if (IsSameOrAbove(folder, *kept)) return FolderVerdict::kProtected;
    }
  }
  return FolderVerdict::kUsable;
}

bool IsCookieFileName(std::string_view name) {
  if (!IsPlainChildName(name) || name.size() <= 4) return false;
  if (!EqualsNoCase(name.substr(name.size() - 4), ".txt")) return false;
  std::string_view owner = name.substr(0, name.size() - 4);
  if (!owner.empty() && owner.back() == ']') {
    size_t open = owner.rfind('[');
    if (open == std::string_view::npos || !IsDecimal(owner.substr(open + 1, owner.size() - open - 2))) return false;
    owner = owner.substr(0, open);
  }
  if (owner.find_first_of("[]") != std::string_view::npos) return false;
  size_t at = owner.find('@');
  return at != std::string_view::npos && at > 0 && at + 1 < owner.size();
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
    if (!IsCookieFileName(entry.name)) continue;
    if (IsCookieIndexFile(entry.name)) continue;
    if (KeepListContains(keepText, CookieNameFromFileName(entry.name))) continue;
    doomed.push_back(entry.name);
  }
  return doomed;
}

std::optional<std::string> ProtectedModeSubfolder(const std::vector<FolderEntry>& listing) {
  for (const FolderEntry& entry : listing) {
    if (entry.isFolder && !entry.isReparsePoint && ToUpper(entry.name) == "LOW") return entry.name;
  }
  return std::nullopt;
}

}  // namespace vexbane::cookiecleaner
