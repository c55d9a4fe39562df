// The list files of the tray's windows.
#include "AllowListFile.h"

#include <windows.h>

#include "ModTray.h"
#include "core/allow_list.h"
#include "core/settings.h"
#include "win/file.h"

namespace vexbane::tray {

std::string ListFilePath(const char* fileName) { return Module().strAppPath + "\\" + fileName; }

std::optional<std::vector<std::string>> ReadListFile(const char* fileName) noexcept {
  try {
    const std::string path = ListFilePath(fileName);
    win::CreateFileIfMissing(path);
    std::string text;
    if (win::ReadWholeFile(path, text) != ERROR_SUCCESS) return std::nullopt;
    return ParseAllowList(text);
  } catch (...) {
    return std::nullopt;
  }
}

bool WriteListFile(const char* fileName, const std::vector<std::string>& entries) noexcept {
  try {
    return win::ReplaceFileContents(ListFilePath(fileName), FormatAllowList(entries)) == ERROR_SUCCESS;
  } catch (...) {
    return false;
  }
}

std::string AllowListPath() { return ListFilePath(settings::kAllowListFile); }

std::optional<std::vector<std::string>> ReadAllowListFile() noexcept { return ReadListFile(settings::kAllowListFile); }

bool WriteAllowListFile(const std::vector<std::string>& entries) noexcept {
  return WriteListFile(settings::kAllowListFile, entries);
}

}  // namespace vexbane::tray
