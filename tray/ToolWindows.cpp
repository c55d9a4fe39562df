// The two tool windows that the tray menu opens.
#include "ToolWindows.h"

namespace vexbane::tray {

void mnuCookie_Click(HWND) noexcept {}
void mnuWhiteList_Click(HWND) noexcept {}
void UnloadToolWindows() noexcept {}

}  // namespace vexbane::tray
