// The WH_GETMESSAGE hook procedure of the browser thread: watches for HTML dialog pop-ups.
#pragma once
#include <windows.h>

namespace vexbane::ext {

LRESULT CALLBACK MsgHookProc(int nCode, WPARAM wParam, LPARAM lParam) noexcept;

}  // namespace vexbane::ext
