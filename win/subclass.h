// Window subclassing the way every system has it: the window procedure replaced, the old one kept.
#pragma once
#include <windows.h>

namespace vexbane::win {

// Puts `proc` in front of the window's own procedure. One subclass per window: a second call on
// the same window fails. COMCTL32's SetWindowSubclass is exported by name only from XP on.
bool SubclassWindow(HWND window, WNDPROC proc) noexcept;

// Gives the window its own procedure back before it is destroyed.
void UnsubclassWindow(HWND window) noexcept;

// Passes a message on to the procedure the window had before; after WM_NCDESTROY the window has
// its own procedure back and the subclass is forgotten. A subclass procedure ends with this.
LRESULT CallOriginalProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;

}  // namespace vexbane::win
