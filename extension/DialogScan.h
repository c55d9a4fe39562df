// The dialog scan: which HTML dialog windows this browser frame owns now, and which one is new.
#pragma once
#include <windows.h>

#include "ThreadState.h"

namespace vexbane::ext {

// Replaces the thread's dialog list by the frame's dialogs that exist now and sets
// `lngNewDialog` to one the scan before did not see. True when there is such a dialog.
bool RunDialogScan(ThreadState& st) noexcept;

// The EnumWindows callback of the scan; always goes on to the next window.
BOOL CALLBACK EnumDialogProc(HWND hwnd, LPARAM lParam) noexcept;

}  // namespace vexbane::ext
