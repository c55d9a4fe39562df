// The uninstaller's steps, each one going on when an earlier one could not finish.
#include "Uninstaller.h"

#include <windows.h>

#include "SetupActions.h"
#include "SetupExitCodes.h"
#include "SetupProduct.h"
#include "accountsteps/AccountSteps.h"
#include "core/settings.h"
#include "win/file.h"
#include "win/file_placement.h"
#include "win/occasional_calls.h"
#include "win/restart_files.h"
#include "win/run_program.h"
#include "win/start_menu.h"
#include "win/unique.h"

namespace vexbane::setup {
namespace {

bool Exists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

class Removal {
 public:
  // Deletes the file now, or at the next restart when a running program holds it.
  // `matters`: false for the uninstaller's own file, whose staying until the restart keeps
  // nothing of the product working.
  void File(const std::string& path, bool matters = true) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return;
    if (attributes & FILE_ATTRIBUTE_READONLY) ::SetFileAttributesA(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    if (::DeleteFileA(path.c_str())) return;
    if (win::DeleteAtRestart(path) == ERROR_SUCCESS) {
      m_pending = true;
      if (matters) m_restart = true;
    }
  }
  // Every file of the folder whose name matches `pattern` ("vxb*.tmp").
  void Files(const std::string& folder, const char* pattern) {
    WIN32_FIND_DATAA found;
    win::UniqueFind find(::FindFirstFileA(InFolder(folder, pattern).c_str(), &found));
    if (!find) return;
    do {
      if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) File(InFolder(folder, found.cFileName));
    } while (::FindNextFileA(find.get(), &found));
  }
  // The folder when it is empty; at the next restart when files in it go then.
  void Folder(const std::string& path) {
    if (!Exists(path) || ::RemoveDirectoryA(path.c_str())) return;
    if (m_pending) win::DeleteAtRestart(path);
  }
  bool RestartNeeded() const { return m_restart; }

 private:
  bool m_restart = false;
  bool m_pending = false;
};

// Removes the key when it holds neither keys nor values.
void DeleteKeyIfEmpty(HKEY root, const char* path) {
  {
    win::UniqueKey key;
    if (::RegOpenKeyExA(root, path, 0, KEY_READ, key.put()) != ERROR_SUCCESS) return;
    DWORD keys = 0, values = 0;
    if (::RegQueryInfoKeyA(key.get(), nullptr, nullptr, nullptr, &keys, nullptr, nullptr, &values, nullptr, nullptr,
                           nullptr, nullptr) != ERROR_SUCCESS || keys || values)
      return;
  }
  ::RegDeleteKeyA(root, path);
}

// Starts the copy that removes uninst.exe and the folder after this process has ended.
bool HandOverToCopy(const std::string& folder, const std::string& self) {
  char temp[MAX_PATH] = {};
  DWORD length = ::GetTempPathA(MAX_PATH, temp);
  if (length == 0 || length >= MAX_PATH) return false;
  std::string reserved = win::ReserveFileName(temp, "vxu");
  if (reserved.empty()) return false;
  ::DeleteFileA(reserved.c_str());
  const std::string copy = reserved.substr(0, reserved.size() - 4) + ".exe";
  if (!::CopyFileA(self.c_str(), copy.c_str(), FALSE)) return false;
  HANDLE me = nullptr;
  if (!::DuplicateHandle(::GetCurrentProcess(), ::GetCurrentProcess(), ::GetCurrentProcess(), &me, SYNCHRONIZE, TRUE, 0)) {
    ::DeleteFileA(copy.c_str());
    return false;
  }
  char handle[16] = {};
  wsprintfA(handle, "%lu", static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(me)));
  std::string line = "\"" + copy + "\" /REMOVEAFTER=" + handle + " /D=" + folder;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  const bool started = ::CreateProcessA(copy.c_str(), &line[0], nullptr, nullptr, TRUE, 0, nullptr, temp, &startup, &process) != FALSE;
  ::CloseHandle(me);
  if (!started) {
    ::DeleteFileA(copy.c_str());
    return false;
  }
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  return true;
}

}  // namespace

int RemoveUninstaller(const std::string& folder, const std::string& self, HANDLE uninstaller) noexcept {
  // Asked for first, so that nothing of the copy is left once the folder has gone.
  win::DeleteAtRestart(self);
  ::WaitForSingleObject(uninstaller, 30000);
  ::CloseHandle(uninstaller);
  const std::string program = InFolder(folder, kUninstallerFile);
  for (int attempt = 0; attempt < 50 && !::DeleteFileA(program.c_str()) && Exists(program); ++attempt) ::Sleep(100);
  ::RemoveDirectoryA(folder.c_str());
  return kExitDone;
}

int RunUninstall(const std::string& folder, const std::string& self, bool silent) noexcept {
  if (!silent && ::MessageBoxA(nullptr,
                               "Remove Vexbane and all of its files, settings and lists from this computer?\n\n"
                               "Internet Explorer windows that are open will be asked to close.",
                               kUninstallTitle, MB_YESNO | MB_ICONQUESTION) != IDYES)
    return kExitCancelled;

  // Unhitch asks the browsers to quit (so the helper DLL is unloaded) and restores the Messenger
  // start type; it may wait for the user to close a browser.
  const std::string unhitch = InFolder(folder, kUnhitchFile);
  if (Exists(unhitch)) {
    DWORD exitCode = 0;
    win::RunAndWait("\"" + unhitch + "\"", exitCode);
  }
  EndTrayProgram();

  win::DeleteKeyTree(HKEY_LOCAL_MACHINE, kBhoKey);
  // Internet Explorer's elevation policy for the tray program (Vista and later).
  accountsteps::RemoveAccountSteps();
  for (const char* server : {kHelperFile, kCookieCleanerFile})
    if (Exists(InFolder(folder, server))) RunRegsvr32(InFolder(folder, server), true);

  Removal removal;
  for (const char* name : {kHelperFile, settings::kTrayProgramFile, kUnhitchFile, kCookieCleanerFile,
                           settings::kBlockSoundFile, settings::kHelpFile})
    removal.File(InFolder(folder, name));
  for (const char* name : settings::kDataFiles) {
    removal.File(InFolder(folder, name));
    removal.File(win::SetAsideName(InFolder(folder, name)));
  }
  // The lists' saves write a temporary file first; setup keeps replaced files under its own
  // names until the restart that frees them.
  for (const char* pattern : {"vxb*.tmp", "vxo*.tmp", "vxn*.tmp"}) removal.Files(folder, pattern);

  const std::string programs = win::StartMenuProgramsFolder();
  if (!programs.empty()) {
    const std::string menu = programs + "\\" + kStartMenuFolder;
    removal.File(menu + "\\" + kHelpLink);
    removal.File(menu + "\\" + kUninstallLink);
    ::RemoveDirectoryA(menu.c_str());
  }

  win::DeleteKeyTree(HKEY_LOCAL_MACHINE, settings::kProductKeyPath);
  DeleteKeyIfEmpty(HKEY_LOCAL_MACHINE, kSettingsParentKey);
  win::DeleteKeyTree(HKEY_LOCAL_MACHINE, kUninstallKey);

  // A running program cannot delete its own file: a copy of it in the temporary folder does,
  // once this one has ended, and the folder with it. Without the copy both go at the restart.
  if (!HandOverToCopy(folder, self)) {
    removal.File(self, false);
    removal.Folder(folder);
  }

  const bool restart = removal.RestartNeeded();
  if (!silent)
    ::MessageBoxA(nullptr,
                  restart ? "Vexbane has been removed from your computer.\n\n"
                            "Some of its files are still in use; Windows deletes them when it restarts next."
                          : "Vexbane has been removed from your computer.",
                  kUninstallTitle, MB_OK | MB_ICONINFORMATION);
  return restart ? kExitRestartNeeded : kExitDone;
}

}  // namespace vexbane::setup
