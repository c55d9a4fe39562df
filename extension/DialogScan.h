// The dialog scan: which HTML dialog windows this browser frame owns now, and which one is new.
#pragma once
#include <windows.h>

#include "ThreadState.h"
#include "win/window_walk.h"

namespace vexbane::ext {

// Replaces the thread's dialog list by the frame's dialogs that exist now and sets
// `lngNewDialog` to one the scan before did not see. True when there is such a dialog.
// `observer` is the tests' view into the walk.
bool RunDialogScan(ThreadState& st, win::WalkObserver* observer = nullptr) noexcept;

}  // namespace vexbane::ext
