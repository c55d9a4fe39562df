// The uninstaller's module: close the browsers, then give the Messenger service its automatic start back.
#include "Uninstall.h"

#include "CRegistry.h"
#include "ShellWindowsPort.h"
#include "core/settings.h"

namespace vexbane::Uninstall {

void Main() noexcept {
  CloseBrowsers();
  RestoreMessenger();
}

void CloseBrowsers() noexcept {
  ShellWindowsPort port;
  unhitch::RunCloseBrowsers(port);
}

void RestoreMessenger() noexcept {
  try {
    // The class carries the uninstaller's own key path; the write below names its key itself.
    CRegistry registry(settings::kUnhitchKeyPath);
    registry.SetRegDWordValue(settings::kMessengerKeyPath, settings::kMessengerStart, settings::kStartAutomatic);
  } catch (...) {
  }
}

}  // namespace vexbane::Uninstall
