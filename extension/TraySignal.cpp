// Signals to the tray program.
#include "TraySignal.h"

#include "BrowserProps.h"
#include "ModVexbaneIE.h"
#include "ThreadState.h"
#include "core/newwindow_host.h"
#include "core/settings.h"

namespace vexbane::ext {
namespace {

bool IsTrayButtonWindow(HWND hwnd, const char* caption) noexcept {
  if (!hwnd || !::IsWindow(hwnd)) return false;
  HWND parent = ::GetParent(hwnd);
  if (!parent) return false;
  try {
    return newwindow::IsTrayButton(WindowText(hwnd), WindowText(parent), caption);
  } catch (...) {
    return false;
  }
}

}  // namespace

bool PostToTrayButton(HWND& hwnd, const char* valueName, const char* caption) noexcept {
  if (!IsTrayButtonWindow(hwnd, caption)) {
    try {
      hwnd = HandleFromText(ReadRegValue(settings::kProductKeyPath, valueName), hwnd);
    } catch (...) {
    }
    if (!IsTrayButtonWindow(hwnd, caption)) return false;
  }
  return ::PostMessageA(hwnd, BM_CLICK, 0, 0) != FALSE;
}

}  // namespace vexbane::ext
