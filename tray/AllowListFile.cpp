// The allow-list file of the tray's windows.
#include "AllowListFile.h"

#include <windows.h>

#include "ModTray.h"
#include "core/allow_list.h"
#include "core/settings.h"
#include "win/file.h"

namespace vexbane::tray {

std::optional<std::vector<std::string>> ReadAllowListFile() noexcept {
  try {
    const auto path = DataFilePath(settings::kAllowListFile);
    if (!path) return std::nullopt;
    win::CreateFileIfMissing(*path);
    std::string text;
    if (win::ReadWholeFile(*path, text) != ERROR_SUCCESS) return std::nullopt;
    return ParseAllowList(text);
  } catch (...) {
    return std::nullopt;
  }
}

bool WriteAllowListFile(const std::vector<std::string>& entries) noexcept {
  try {
    const auto path = DataFilePath(settings::kAllowListFile);
    if (!path) return false;
    for (const std::string& entry : entries)
      if (!IsStorableAllowListEntry(entry)) return false;
    return win::ReplaceFileContents(*path, FormatAllowList(entries)) == ERROR_SUCCESS;
  } catch (...) {
    return false;
  }
}

}  // namespace vexbane::tray
