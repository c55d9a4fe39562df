// Signals to the tray program: a BM_CLICK posted to one of its two hidden buttons.
#pragma once
#include <windows.h>

namespace vexbane::ext {

// Posts BM_CLICK to `hwnd` only while it still is the tray's button: a window captioned
// `caption` ("Block" or "Form Close") whose parent is captioned "Vexbane Tray Form". A handle
// read earlier may by now name another program's window (the tray program ended and the
// number was reused); then the value `valueName` ("hButton" or "hForm") is read once more into
// `hwnd` and checked again. Returns true when the click was posted.
bool PostToTrayButton(HWND& hwnd, const char* valueName, const char* caption) noexcept;

}  // namespace vexbane::ext
