// The WH_KEYBOARD hook procedure of the browser thread: Enter and Space on the page count as clicks.
#pragma once
#include <windows.h>

namespace vexbane::ext {

LRESULT CALLBACK KeyHookProc(int nCode, WPARAM wParam, LPARAM lParam) noexcept;

}  // namespace vexbane::ext
