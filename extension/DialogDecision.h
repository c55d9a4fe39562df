// The decision on a new HTML dialog of this frame: left open or closed and announced.
#pragma once
#include "ThreadState.h"
#include "core/hooks_messages.h"

namespace vexbane::ext {

// Decides on `lngNewDialog` after a scan made by `trigger`.
void DecideOnNewDialog(ThreadState& st, hooks::DialogTrigger trigger) noexcept;

}  // namespace vexbane::ext
