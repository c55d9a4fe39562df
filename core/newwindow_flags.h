// What NewWindow3's flags say about the window a page asked for.
#pragma once
#include <cstdint>

#include "core/block_record.h"

namespace vexbane::newwindow {

// The NWMF flags of IE 7 and later that choose between a tab and a window.
inline constexpr uint32_t kForceWindow = 0x10000;  // NWMF_FORCEWINDOW
inline constexpr uint32_t kForceTab = 0x20000;     // NWMF_FORCETAB
inline constexpr uint32_t kSuggestTab = 0x80000;   // NWMF_SUGGESTTAB

// What the browser itself says of the request, which no page can set (IE 6 on XP SP2 and later).
inline constexpr uint32_t kUnloading = 0x1;         // NWMF_UNLOADING: the page is being left or closed
inline constexpr uint32_t kUserRequested = 0x80;    // NWMF_USERREQUESTED: Shift+click, "Open in New Window"
inline constexpr uint32_t kUserAllowed = 0x100;     // NWMF_USERALLOWED: let through from the information bar

enum class BrowserWord {
  None,          // nothing said (and every request raised by NewWindow2 alone)
  UserAsked,     // the user asked the browser for the window: it opens as with Ctrl
  PageClosing,   // the page opens it while it goes away: no click of the user's was for it
};

// The user's word wins over the page's closing: a page cannot set the user's flags, and a window
// the user asked for while leaving the page is still the user's.
BrowserWord WordOfFlags(uint32_t flags);

// A tab when the flags force one, or suggest one and force no window; else a window. IE 6 and
// NewWindow2 say nothing of tabs: their requests are windows.
blocks::BlockKind KindOfRequest(uint32_t flags);

}  // namespace vexbane::newwindow
