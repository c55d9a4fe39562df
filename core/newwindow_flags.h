// What NewWindow3's flags say about the window a page asked for.
#pragma once
#include <cstdint>

#include "core/block_record.h"

namespace vexbane::newwindow {

// The NWMF flags of IE 7 and later that choose between a tab and a window.
inline constexpr uint32_t kForceWindow = 0x10000;  // NWMF_FORCEWINDOW
inline constexpr uint32_t kForceTab = 0x20000;     // NWMF_FORCETAB
inline constexpr uint32_t kSuggestTab = 0x80000;   // NWMF_SUGGESTTAB

// A tab when the flags force one, or suggest one and force no window; else a window. IE 6 and
// NewWindow2 say nothing of tabs: their requests are windows.
blocks::BlockKind KindOfRequest(uint32_t flags);

}  // namespace vexbane::newwindow
