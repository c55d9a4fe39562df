// The uninstaller's browser-closing passes.
#include "unhitch_passes.h"

namespace vexbane::unhitch {
namespace {

void QuitTitledWindows(CloseBrowsersPort& port) noexcept {
  port.WalkShellWindows([](ShellWindow& window) {
    if (window.TitleLength() > 0) window.Quit();
    return true;
  });
}

bool AnyWindowStillTitled(CloseBrowsersPort& port) noexcept {
  bool titled = false;
  port.WalkShellWindows([&titled](ShellWindow& window) {
    titled = window.TitleLength() > 0;
    return !titled;
  });
  return titled;
}

}  // namespace

CloseBrowsersResult RunCloseBrowsers(CloseBrowsersPort& port) noexcept {
  CloseBrowsersResult result;
  bool repeat = true;
  while (repeat) {
    QuitTitledWindows(port);
    repeat = false;
    ++result.passes;
    // A window that still shows a title after the last pass is exactly the case the user must
    // hear about, so running out of passes leads to the final check rather than around it.
    if (result.passes >= kMaxPasses) break;
    repeat = AnyWindowStillTitled(port);
  }

  port.Pause(kPauseBeforeCheckMs);
  if (port.FrameWindowExists()) {
    port.ShowWarning();
    result.warned = true;
  }
  port.Pause(kPauseAfterCheckMs);
  return result;
}

}  // namespace vexbane::unhitch
