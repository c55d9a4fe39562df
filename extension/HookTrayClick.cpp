// The click on one of the tray program's hidden buttons.
#include "HookTrayClick.h"

namespace vexbane::ext {

void PostTrayClick(HWND& button, const char* /*valueName*/, const char* /*caption*/) noexcept {
  ::PostMessageA(button, BM_CLICK, 0, 0);
}

}  // namespace vexbane::ext
