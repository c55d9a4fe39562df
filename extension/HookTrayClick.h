// The click on one of the tray program's hidden buttons, posted by the dialog hook and the quit.
#pragma once
#include <windows.h>

namespace vexbane::ext {

// Posts BM_CLICK to `button`, the handle last read from the value `valueName` for the button
// captioned `caption`. The result is not looked at: a tray that is gone misses nothing.
void PostTrayClick(HWND& button, const char* valueName, const char* caption) noexcept;

inline constexpr char kBlockCaption[] = "Block";
inline constexpr char kFormCloseCaption[] = "Form Close";

}  // namespace vexbane::ext
