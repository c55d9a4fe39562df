// The WH_MOUSE hook procedure of the browser thread: records clicks and button releases.
#pragma once
#include <windows.h>

namespace vexbane::ext {

LRESULT CALLBACK MouseHookProc(int nCode, WPARAM wParam, LPARAM lParam) noexcept;

}  // namespace vexbane::ext
