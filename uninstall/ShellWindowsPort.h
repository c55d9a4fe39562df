// The uninstaller's passes wired to the shell's window collection, FindWindowA, Sleep and MessageBoxA.
#pragma once
#include "core/unhitch_passes.h"

namespace vexbane::Uninstall {

class ShellWindowsPort final : public unhitch::CloseBrowsersPort {
 public:
  // Creates a fresh ShellWindows collection for every walk and releases it when the walk ends;
  // items that do not answer as IWebBrowser2 are skipped.
  void WalkShellWindows(const std::function<bool(unhitch::ShellWindow&)>& visit) noexcept override;
  void Pause(uint32_t milliseconds) noexcept override;
  bool FrameWindowExists() noexcept override;
  void ShowWarning() noexcept override;
};

}  // namespace vexbane::Uninstall
