// The Start menu's "Programs" folder, by family, with the registry's answer where SHELL32 has none.
#include "win/start_menu.h"

#include <windows.h>
#include <shlobj.h>

#include "core/settings.h"
#include "win/registry.h"
#include "win/version.h"

namespace vexbane::win {
namespace {

using GetSpecialFolderPath = BOOL(WINAPI*)(HWND, LPSTR, int, BOOL);

std::string FromShell(int folder) {
  char system[MAX_PATH] = {};
  UINT length = ::GetSystemDirectoryA(system, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return std::string();
  std::string path(system, length);
  path += "\\SHELL32.DLL";
  HMODULE shell = ::LoadLibraryA(path.c_str());
  if (!shell) return std::string();
  std::string result;
  auto call = reinterpret_cast<GetSpecialFolderPath>(reinterpret_cast<void*>(::GetProcAddress(shell, "SHGetSpecialFolderPathA")));
  char folderPath[MAX_PATH] = {};
  if (call && call(nullptr, folderPath, folder, FALSE)) result = folderPath;
  ::FreeLibrary(shell);
  return result;
}

std::string FromRegistry(HKEY root, const char* name) {
  std::string bytes;
  if (QueryValueBytes(root, settings::kShellFoldersKeyPath, name, MAX_PATH, bytes) != ERROR_SUCCESS) return std::string();
  size_t end = bytes.find('\0');
  return end == std::string::npos ? bytes : bytes.substr(0, end);
}

}  // namespace

std::string StartMenuProgramsFolder() {
  const bool allUsers = !IsWindows9x();
  std::string folder = FromShell(allUsers ? CSIDL_COMMON_PROGRAMS : CSIDL_PROGRAMS);
  if (folder.empty())
    folder = allUsers ? FromRegistry(HKEY_LOCAL_MACHINE, "Common Programs") : FromRegistry(HKEY_CURRENT_USER, "Programs");
  while (folder.size() > 3 && folder.back() == '\\') folder.pop_back();
  return folder;
}

}  // namespace vexbane::win
