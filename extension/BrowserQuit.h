// What happens when a browser window quits: hooks removed, windows recounted, the tray told
// when none is left, cookies cleaned when the user asked for it.
#pragma once
#include <cstdint>

#include "ThreadState.h"

namespace vexbane::ext {

// Runs once per attached frame object; `countIE` is the object's browser count.
void OnBrowserQuit(ThreadState& st, int16_t& countIE) noexcept;

}  // namespace vexbane::ext
