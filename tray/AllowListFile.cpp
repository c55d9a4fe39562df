// The list files of the tray's windows.
#include "AllowListFile.h"

#include <windows.h>

#include "ModTray.h"
#include "core/allow_list.h"
#include "core/settings.h"
#include "win/file.h"
#include "win/file_problem.h"

namespace vexbane::tray {

std::optional<std::vector<std::string>> ReadListFile(const char* fileName, std::string* why) noexcept {
  try {
    const auto path = DataFilePath(fileName);
    if (!path) return std::nullopt;
    win::CreateFileIfMissing(*path);
    std::string text;
    const DWORD rc = win::ReadWholeFile(*path, text);
    if (rc != ERROR_SUCCESS) {
      if (why) *why = win::FileProblemText(*path, rc, false);
      return std::nullopt;
    }
    return ParseAllowList(text);
  } catch (...) {
    return std::nullopt;
  }
}

bool WriteListFile(const char* fileName, const std::vector<std::string>& entries, std::string* why) noexcept {
  try {
    const auto path = DataFilePath(fileName);
    if (!path) return false;
    for (const std::string& entry : entries)
      if (!IsStorableAllowListEntry(entry)) return false;
    const DWORD rc = win::ReplaceFileContents(*path, FormatAllowList(entries));
    if (rc != ERROR_SUCCESS && why) *why = win::FileProblemText(*path, rc, true);
    return rc == ERROR_SUCCESS;
  } catch (...) {
    return false;
  }
}

std::string WithCause(const std::string& notice, const std::string& why) {
  return why.empty() ? notice : notice + " " + why;
}

std::optional<std::vector<std::string>> ReadAllowListFile(std::string* why) noexcept {
  return ReadListFile(settings::kAllowListFile, why);
}

bool WriteAllowListFile(const std::vector<std::string>& entries, std::string* why) noexcept {
  return WriteListFile(settings::kAllowListFile, entries, why);
}

}  // namespace vexbane::tray
