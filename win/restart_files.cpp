// Files moved or deleted at the next restart, by family.
#include "win/restart_files.h"

#include "core/wininit_rename.h"
#include "win/file_placement.h"
#include "win/version.h"

namespace vexbane::win {
namespace {

// Reads WININIT.INI (none is an empty text), applies `edit`, writes it back whole.
template <typename Edit>
DWORD EditWininit(Edit edit) {
  const std::string path = WininitPath();
  std::string text;
  DWORD rc = ReadPlainFile(path, text);
  if (rc != ERROR_SUCCESS && rc != ERROR_FILE_NOT_FOUND && rc != ERROR_PATH_NOT_FOUND) return rc;
  if (rc != ERROR_SUCCESS) text.clear();
  return WritePlainFile(path, edit(text));
}

}  // namespace

std::string WininitPath() {
  char folder[MAX_PATH] = {};
  UINT length = ::GetWindowsDirectoryA(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return "WININIT.INI";
  std::string path(folder, length);
  if (path.back() != '\\') path += '\\';
  return path + "WININIT.INI";
}

DWORD AddWininitLine(const std::string& line) {
  return EditWininit([&](const std::string& text) { return AddWininitRenameLine(text, line); });
}

DWORD RemoveWininitLine(const std::string& line) {
  return EditWininit([&](const std::string& text) { return RemoveWininitRenameLine(text, line); });
}

std::string ShortPath(const std::string& path) {
  char shortPath[MAX_PATH] = {};
  DWORD length = ::GetShortPathNameA(path.c_str(), shortPath, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return path;
  return std::string(shortPath, length);
}

DWORD DeleteAtRestart(const std::string& path) {
  if (IsWindows9x()) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) return ERROR_NOT_SUPPORTED;
    return AddWininitLine("NUL=" + ShortPath(path));
  }
  if (!::MoveFileExA(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT)) return ::GetLastError();
  return ERROR_SUCCESS;
}

}  // namespace vexbane::win
