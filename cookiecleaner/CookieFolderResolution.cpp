// Resolves the cookie folder with the system and gathers the folders that are never cleaned.
#include "CookieFolderResolution.h"

#include <windows.h>

#include "core/cookiecleaner_rules.h"
#include "core/settings.h"
#include "win/registry.h"

namespace vexbane::cookiecleaner {
namespace {

constexpr char kCurrentVersionPath[] = "Software\\Microsoft\\Windows\\CurrentVersion";
constexpr char kProgramFilesValue[] = "ProgramFilesDir";
constexpr char kProfileVariable[] = "USERPROFILE";
constexpr DWORD kPathBufferSize = 1024;

void StripTrailingSeparators(std::string& path) {
  // "C:\" keeps its separator: without it the text would mean the drive's current folder.
  while (path.size() > 3 && (path.back() == '\\' || path.back() == '/')) path.pop_back();
}

// A folder named by a registry string; empty when it cannot be read.
std::string RegistryFolder(HKEY root, const char* path, const char* name) {
  std::string bytes;
  if (win::QueryValueBytes(root, path, name, settings::kShellFolderBufferSize, bytes) != ERROR_SUCCESS) return {};
  bytes.resize(bytes.find('\0') == std::string::npos ? bytes.size() : bytes.find('\0'));
  return bytes;
}

std::string WindowsFolder() {
  char buffer[kPathBufferSize] = {};
  UINT n = ::GetWindowsDirectoryA(buffer, kPathBufferSize);
  return n > 0 && n < kPathBufferSize ? std::string(buffer, n) : std::string();
}

std::string SystemFolder() {
  char buffer[kPathBufferSize] = {};
  UINT n = ::GetSystemDirectoryA(buffer, kPathBufferSize);
  return n > 0 && n < kPathBufferSize ? std::string(buffer, n) : std::string();
}

std::string ProfileFolder() {
  char buffer[kPathBufferSize] = {};
  DWORD n = ::GetEnvironmentVariableA(kProfileVariable, buffer, kPathBufferSize);
  return n > 0 && n < kPathBufferSize ? std::string(buffer, n) : std::string();
}

}  // namespace

std::string FullPathOf(const std::string& path) {
  if (path.empty()) return {};
  char buffer[kPathBufferSize] = {};
  char* filePart = nullptr;
  DWORD n = ::GetFullPathNameA(path.c_str(), kPathBufferSize, buffer, &filePart);
  if (n == 0 || n >= kPathBufferSize) return {};
  std::string full(buffer, n);
  StripTrailingSeparators(full);
  return full;
}

std::vector<std::string> SpellingsOf(const std::string& fullPath) {
  std::vector<std::string> spellings;
  if (fullPath.empty()) return spellings;
  spellings.push_back(fullPath);
  char buffer[kPathBufferSize] = {};
  DWORD n = ::GetShortPathNameA(fullPath.c_str(), buffer, kPathBufferSize);
  if (n > 0 && n < kPathBufferSize) {
    std::string shortForm(buffer, n);
    StripTrailingSeparators(shortForm);
    if (shortForm != fullPath) spellings.push_back(shortForm);
  }
  return spellings;
}

std::vector<std::string> ProtectedFolderSpellings() {
  const std::string folders[] = {
      WindowsFolder(),
      SystemFolder(),
      RegistryFolder(HKEY_LOCAL_MACHINE, kCurrentVersionPath, kProgramFilesValue),
      ProfileFolder(),
      RegistryFolder(HKEY_CURRENT_USER, settings::kShellFoldersKeyPath, "Desktop"),
      RegistryFolder(HKEY_CURRENT_USER, settings::kShellFoldersKeyPath, "Personal"),
  };
  std::vector<std::string> spellings;
  for (const std::string& folder : folders) {
    // A setting that is missing or resolves to nothing protects nothing; the roots are refused anyway.
    for (std::string& spelling : SpellingsOf(FullPathOf(folder))) spellings.push_back(std::move(spelling));
  }
  return spellings;
}

std::optional<std::string> ResolveCookieFolder(const std::string& registryText) {
  std::optional<std::string> text = CookieFolderFromRegistryText(registryText);
  if (!text) return std::nullopt;
  const std::string full = FullPathOf(*text);
  if (full.empty()) return std::nullopt;
  if (CheckResolvedCookieFolder(SpellingsOf(full), ProtectedFolderSpellings()) != FolderVerdict::kUsable)
    return std::nullopt;
  DWORD attributes = ::GetFileAttributesA(full.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return std::nullopt;
  if (!(attributes & FILE_ATTRIBUTE_DIRECTORY) || (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return std::nullopt;
  return full;
}

}  // namespace vexbane::cookiecleaner
