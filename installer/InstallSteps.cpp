// The install's steps and their undo.
#include "InstallSteps.h"

#include <windows.h>

#include "RegistryStep.h"
#include "SetupActions.h"
#include "SetupProduct.h"
#include "accountsteps/AccountSteps.h"
#include "core/settings.h"
#include "win/file.h"
#include "win/file_placement.h"
#include "win/shell_link.h"
#include "win/account_access.h"
#include "win/start_menu.h"

namespace vexbane::setup {
namespace {

DWORD LastErrorOr(DWORD fallback) {
  DWORD rc = ::GetLastError();
  return rc != ERROR_SUCCESS ? rc : fallback;
}

bool Exists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Creates every missing folder on the way to `path` (a drive root or a "\\server\share" start
// is never created); `created` receives them outermost first.
DWORD CreateFolderPath(const std::string& path, std::vector<std::string>& created) {
  size_t at = path.rfind(':') != std::string::npos ? path.find('\\', path.find(':')) + 1 : 0;
  if (path.compare(0, 2, "\\\\") == 0) at = path.find('\\', path.find('\\', 2) + 1) + 1;
  if (at == 0 || at > path.size()) at = path.size();
  for (;;) {
    const size_t next = path.find('\\', at);
    const std::string prefix = path.substr(0, next);
    const DWORD attributes = ::GetFileAttributesA(prefix.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
      if (!::CreateDirectoryA(prefix.c_str(), nullptr)) return LastErrorOr(ERROR_CANNOT_MAKE);
      created.push_back(prefix);
    } else if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
      return ERROR_ALREADY_EXISTS;  // a file stands where the folder goes
    }
    if (next == std::string::npos) return ERROR_SUCCESS;
    at = next + 1;
  }
}

void RemoveCreatedFolders(std::vector<std::string>& created) {
  for (size_t i = created.size(); i-- > 0;) ::RemoveDirectoryA(created[i].c_str());
  created.clear();
}

class EndTrayStep final : public SetupStep {
 public:
  const char* Name() const noexcept override { return "Closing the running Vexbane tray program"; }
  unsigned long Do() noexcept override {
    EndTrayProgram();
    return 0;
  }
  void Undo() noexcept override {}
};

class FolderStep final : public SetupStep {
 public:
  explicit FolderStep(std::string folder) : m_folder(std::move(folder)), m_name("Creating the folder " + m_folder) {}
  const char* Name() const noexcept override { return m_name.c_str(); }
  unsigned long Do() noexcept override {
    DWORD rc = CreateFolderPath(m_folder, m_created);
    if (rc != ERROR_SUCCESS) RemoveCreatedFolders(m_created);
    return rc;
  }
  void Undo() noexcept override { RemoveCreatedFolders(m_created); }

 private:
  std::string m_folder;
  std::string m_name;
  std::vector<std::string> m_created;
};

class FileStep final : public SetupStep {
 public:
  FileStep(const std::string& folder, const std::string& file, const unsigned char* data, size_t size)
      : m_target(folder + "\\" + file), m_name("Copying " + file), m_data(data), m_size(size) {}
  const char* Name() const noexcept override { return m_name.c_str(); }
  unsigned long Do() noexcept override { return win::PlaceFile(m_target, m_data, m_size, m_placed); }
  void Undo() noexcept override { win::UndoPlaceFile(m_placed); }
  void Commit() noexcept override { win::CommitPlaceFile(m_placed); }
  bool NeedsRestart() const noexcept override { return m_placed.restartNeeded; }

 private:
  std::string m_target;
  std::string m_name;
  const unsigned char* m_data;
  size_t m_size;
  win::PlacedFile m_placed;
};

// The lists the programs read and write, created empty (an empty list reads as no entries,
// as a missing one does) so that they exist with the folder; an existing list is kept.
class DataFilesStep final : public SetupStep {
 public:
  explicit DataFilesStep(std::string folder) : m_folder(std::move(folder)) {}
  const char* Name() const noexcept override { return "Creating the allow, blocked-host and cookie lists"; }
  unsigned long Do() noexcept override {
    for (const char* name : settings::kDataFiles) {
      const std::string path = InFolder(m_folder, name);
      if (Exists(path) || Exists(win::SetAsideName(path))) continue;
      DWORD rc = win::WriteNewFile(path, "", 0);
      if (rc != ERROR_SUCCESS) {
        Undo();
        return rc;
      }
      m_created.push_back(path);
    }
    return 0;
  }
  void Undo() noexcept override {
    for (const std::string& path : m_created) ::DeleteFileA(path.c_str());
    m_created.clear();
  }

 private:
  std::string m_folder;
  std::vector<std::string> m_created;
};

class RegisterServerStep final : public SetupStep {
 public:
  RegisterServerStep(const std::string& folder, const char* file, const char* clsid)
      : m_file(InFolder(folder, file)), m_name(std::string("Registering ") + file),
        m_serverKey(std::string("CLSID\\") + clsid + "\\InprocServer32") {}
  const char* Name() const noexcept override { return m_name.c_str(); }
  unsigned long Do() noexcept override {
    m_registeredBefore = KeyExists(HKEY_CLASSES_ROOT, m_serverKey.c_str());
    DWORD rc = RunRegsvr32(m_file, false);
    if (rc != ERROR_SUCCESS && !m_registeredBefore) RunRegsvr32(m_file, true);
    return rc;
  }
  // An earlier copy's registration names the same file and stays; a new one goes.
  void Undo() noexcept override {
    if (!m_registeredBefore) RunRegsvr32(m_file, true);
  }

 private:
  std::string m_file;
  std::string m_name;
  std::string m_serverKey;
  bool m_registeredBefore = false;
};

// The Start-menu folder "Vexbane" with the help file's and the uninstaller's shortcuts.
class StartMenuStep final : public SetupStep {
 public:
  explicit StartMenuStep(std::string folder) : m_folder(std::move(folder)) {}
  const char* Name() const noexcept override { return "Creating the Start-menu shortcuts"; }
  unsigned long Do() noexcept override {
    const std::string programs = win::StartMenuProgramsFolder();
    if (programs.empty()) return ERROR_PATH_NOT_FOUND;
    const std::string menu = programs + "\\" + kStartMenuFolder;
    DWORD rc = CreateFolderPath(menu, m_created);
    if (rc == ERROR_SUCCESS)
      rc = Link(menu + "\\" + kHelpLink, InFolder(m_folder, settings::kHelpFile), "Vexbane Help");
    if (rc == ERROR_SUCCESS)
      rc = Link(menu + "\\" + kUninstallLink, InFolder(m_folder, kUninstallerFile), "Uninstall Vexbane");
    if (rc != ERROR_SUCCESS) Undo();
    return rc;
  }
  void Undo() noexcept override {
    for (const std::string& link : m_links) ::DeleteFileA(link.c_str());
    m_links.clear();
    RemoveCreatedFolders(m_created);
  }

 private:
  // A shortcut of an earlier installation names the same file and is written over; only a new
  // one goes with the undo.
  DWORD Link(const std::string& path, const std::string& target, const char* description) {
    if (!Exists(path)) m_links.push_back(path);
    HRESULT hr = win::CreateShellLink(path, target, description);
    if (FAILED(hr)) return HRESULT_CODE(hr) ? HRESULT_CODE(hr) : ERROR_CANNOT_MAKE;
    return ERROR_SUCCESS;
  }

  std::string m_folder;
  std::vector<std::string> m_created;
  std::vector<std::string> m_links;  // the shortcuts made new
};

// Rights for the local Users group on the settings key and on each list: on the NT family only an
// administrator could write them otherwise, and a limited account could change no setting.
class UsersRightsStep final : public SetupStep {
 public:
  explicit UsersRightsStep(std::string folder) : m_folder(std::move(folder)) {}
  const char* Name() const noexcept override { return "Allowing every account to change Vexbane's settings and lists"; }
  unsigned long Do() noexcept override {
    m_grantedBefore = win::UsersRightsOnKey(HKEY_LOCAL_MACHINE, settings::kProductKeyPath, true) != 0;
    return accountsteps::PrepareUsersForSettingsAndLists(m_folder.c_str());
  }
  // An earlier installation's grant stays with it; the files go with their own steps' undo.
  void Undo() noexcept override {
    if (!m_grantedBefore) accountsteps::RevokeUsersOnSettingsKey();
  }

 private:
  std::string m_folder;
  bool m_grantedBefore = false;
};

// Vista and later: the settings key's low label and Internet Explorer's elevation policy for the
// tray program, so that the helper in Protected Mode can keep its count and start the tray program
// without a prompt. Blocking works without them, so a failure is told on the last page and the
// installation stays.
class ProtectedModeStep final : public SetupStep {
 public:
  explicit ProtectedModeStep(std::string folder) : m_folder(std::move(folder)) {}
  const char* Name() const noexcept override { return "Letting Internet Explorer's Protected Mode reach Vexbane"; }
  unsigned long Do() noexcept override { return accountsteps::PrepareForProtectedMode(m_folder.c_str()); }
  void Undo() noexcept override { accountsteps::RemoveAccountSteps(); }
  bool Optional() const noexcept override { return true; }

 private:
  std::string m_folder;
};

}  // namespace

SetupSteps MakeInstallSteps(const InstallChoice& choice, const std::vector<PayloadFile>& files,
                            const unsigned char* program, size_t programSize) {
  const std::string& folder = choice.folder;
  SetupSteps steps;
  // An older copy's tray program holds its file open.
  steps.push_back(std::make_unique<EndTrayStep>());
  steps.push_back(std::make_unique<FolderStep>(folder));
  bool withCookieCleaner = false;
  for (const PayloadFile& file : files) {
    steps.push_back(std::make_unique<FileStep>(folder, file.name, file.data.data(), file.data.size()));
    if (file.name == kCookieCleanerFile) withCookieCleaner = true;
  }
  steps.push_back(std::make_unique<FileStep>(folder, kUninstallerFile, program, programSize));
  steps.push_back(std::make_unique<DataFilesStep>(folder));
  // No program creates the settings key; "Popup" is what the tray program writes on its first
  // run, and a reinstall keeps the user's level.
  auto settingsStep = std::make_unique<RegistryStep>("Writing the settings", HKEY_LOCAL_MACHINE, settings::kProductKeyPath);
  settingsStep->Text(settings::kPopup, "2", true).Text(settings::kAutoClean, choice.autoClean ? "1" : "0");
  steps.push_back(std::move(settingsStep));
  steps.push_back(std::make_unique<UsersRightsStep>(folder));
  steps.push_back(std::make_unique<ProtectedModeStep>(folder));
  steps.push_back(std::make_unique<RegisterServerStep>(folder, kHelperFile, kHelperClsid));
  if (withCookieCleaner)
    steps.push_back(std::make_unique<RegisterServerStep>(folder, kCookieCleanerFile, kCookieCleanerClsid));
  auto helperStep = std::make_unique<RegistryStep>("Adding the browser helper to Internet Explorer", HKEY_LOCAL_MACHINE, kBhoKey);
  helperStep->Text("", kBhoName);
  steps.push_back(std::move(helperStep));
  const std::string uninstaller = "\"" + InFolder(folder, kUninstallerFile) + "\"";
  auto entryStep = std::make_unique<RegistryStep>("Adding Vexbane to Add/Remove Programs", HKEY_LOCAL_MACHINE, kUninstallKey);
  entryStep->Text("DisplayName", kProduct)
      .Text("DisplayVersion", kVersion)
      .Text("Publisher", kPublisher)
      .Text("DisplayIcon", InFolder(folder, settings::kTrayProgramFile))
      .Text("InstallLocation", folder)
      .Text("UninstallString", uninstaller)
      .Text("QuietUninstallString", uninstaller + " /S")
      .Number("NoModify", 1)
      .Number("NoRepair", 1);
  steps.push_back(std::move(entryStep));
  steps.push_back(std::make_unique<StartMenuStep>(folder));
  return steps;
}

}  // namespace vexbane::setup
