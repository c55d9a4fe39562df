// Entry point of VexbaneSetup.exe and of its uninstaller copy uninst.exe: the same program, which
// installs the files it carries, or, carrying none under the name uninst.exe, uninstalls.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include "SetupExitCodes.h"
#include "SetupJob.h"
#include "SetupProduct.h"
#include "SetupWizard.h"
#include "Uninstaller.h"
#include "core/setup_command_line.h"
#include "core/setup_payload.h"
#include "core/text.h"
#include "win/file.h"
#include "win/file_placement.h"

namespace vexbane::setup {
namespace {

void Tell(bool silent, const char* text) {
  if (!silent) ::MessageBoxA(nullptr, text, kTitle, MB_OK | MB_ICONSTOP);
}

int Main(const char* arguments) {
  const SetupCommandLine options = ParseSetupCommandLine(arguments ? arguments : "");
  char path[MAX_PATH] = {};
  const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  const std::string self = length && length < MAX_PATH ? std::string(path, length) : std::string();
  std::string bytes;
  if (self.empty() || win::ReadPlainFile(self, bytes) != ERROR_SUCCESS) {
    Tell(options.silent, "Setup cannot read its own file. Copy it to this computer's disk and run it again.");
    return kExitDamaged;
  }
  std::vector<PayloadFile> files;
  size_t programSize = 0;
  const PayloadStatus status =
      ReadSetupPayload(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), files, programSize);

  const std::string name = self.substr(self.find_last_of('\\') + 1);
  if (status == PayloadStatus::NotFound && options.removeAfter && !options.folder.empty())
    return RemoveUninstaller(options.folder, self, reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(options.removeAfter)));
  if (status == PayloadStatus::NotFound && EqualsNoCase(name, kUninstallerFile))
    return RunUninstall(win::FolderOf(self), self, options.silent);
  if (status != PayloadStatus::Ok) {
    // Every file is checked before anything is written: nothing has been changed.
    Tell(options.silent, status == PayloadStatus::Truncated || status == PayloadStatus::NotFound
                             ? "This setup file is incomplete: the download or copy was cut short.\n\n"
                               "Nothing has been changed. Download or copy VexbaneSetup.exe again."
                             : "This setup file is damaged: its files do not match their checksums.\n\n"
                               "Nothing has been changed. Download or copy VexbaneSetup.exe again.");
    return kExitDamaged;
  }
  if (options.badSwitch) {
    Tell(options.silent, "/AUTOCLEAN takes 0 (keep cookies) or 1 (clean them when the last browser window closes).");
    return kExitBadCommandLine;
  }
  if (!options.folder.empty() && !IsFullFolderPath(options.folder)) {
    Tell(options.silent, "/D= takes the full path of a folder, for example /D=C:\\Program Files\\Vexbane.");
    return kExitBadCommandLine;
  }

  SetupJob job(std::move(bytes), std::move(files), programSize);
  job.choice().folder = options.folder.empty() ? DefaultFolder() : options.folder;
  job.choice().autoClean = options.autoClean >= 0 ? options.autoClean : CurrentAutoClean();
  if (options.silent) {
    job.Install(nullptr);
    return job.ExitCode();
  }
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_PROGRESS_CLASS};
  ::InitCommonControlsEx(&controls);
  SetupWizard wizard(job);
  return wizard.Run();
}

}  // namespace
}  // namespace vexbane::setup

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR arguments, int) {
  // Shortcuts and the folder browser are COM objects of the shell.
  const HRESULT init = ::CoInitialize(nullptr);
  const int code = vexbane::setup::Main(arguments);
  if (SUCCEEDED(init)) ::CoUninitialize();
  return code;
}
