// The list files of the tray's windows.
#include "AllowListFile.h"

#include <windows.h>

#include "ModTray.h"
#include "core/allow_list.h"
#include "core/settings.h"
#include "win/file.h"

namespace vexbane::tray {

std::optional<std::vector<std::string>> ReadListFile(const char* fileName) noexcept {
  try {
    const auto path = DataFilePath(fileName);
    if (!path) return std::nullopt;
    win::CreateFileIfMissing(*path);
    std::string text;
    if (win::ReadWholeFile(*path, text) != ERROR_SUCCESS) return std::nullopt;
    return ParseAllowList(text);
  } catch (...) {
    return std::nullopt;
  }
}

bool WriteListFile(const char* fileName, const std::vector<std::string>& entries) noexcept {
  try {
    const auto path = DataFilePath(fileName);
    if (!path) return false;
    for (const std::string& entry : entries)
      if (!IsStorableAllowListEntry(entry)) return false;
    return win::ReplaceFileContents(*path, FormatAllowList(entries)) == ERROR_SUCCESS;
  } catch (...) {
    return false;
  }
}

std::optional<std::vector<std::string>> ReadAllowListFile() noexcept { return ReadListFile(settings::kAllowListFile); }

bool WriteAllowListFile(const std::vector<std::string>& entries) noexcept {
  return WriteListFile(settings::kAllowListFile, entries);
}

}  // namespace vexbane::tray
