// The allow-list file of the tray's windows.
#include "AllowListFile.h"

#include <windows.h>

#include "ModTray.h"
#include "core/allow_list.h"
#include "core/settings.h"
#include "win/file.h"

namespace vexbane::tray {

std::string AllowListPath() { return Module().strAppPath + "\\" + settings::kAllowListFile; }

std::optional<std::vector<std::string>> ReadAllowListFile() noexcept {
  try {
    const std::string path = AllowListPath();
    win::CreateFileIfMissing(path);
    std::string text;
    if (win::ReadWholeFile(path, text) != ERROR_SUCCESS) return std::nullopt;
    return ParseAllowList(text);
  } catch (...) {
    return std::nullopt;
  }
}

bool WriteAllowListFile(const std::vector<std::string>& entries) noexcept {
  try {
    return win::ReplaceFileContents(AllowListPath(), FormatAllowList(entries)) == ERROR_SUCCESS;
  } catch (...) {
    return false;
  }
}

}  // namespace vexbane::tray
