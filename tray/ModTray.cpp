// The tray program's module variables.
#include "ModTray.h"

namespace vexbane::tray {

ModTray& Module() noexcept {
  static ModTray module;
  return module;
}

}  // namespace vexbane::tray
