// The count of browser windows on the desktop, taken from the shell's window collection.
#pragma once
#include <windows.h>
#include <exdisp.h>

#include <cstdint>
#include <optional>

namespace vexbane::ext {

// Windows of the collection whose program counts as the browser's; no value when the
// collection cannot be created or will not tell its size. `quitting` (when given) is counted
// as listed even when the collection has dropped it already: a closing tab may leave the list
// before its helper hears of the close.
// A listed browser that carries a quit ticket (another window quitting at the same moment) is
// not counted; `laterQuitListed` (when given) tells whether one of them holds a ticket above
// `ownTicket`.
std::optional<int16_t> CountListedBrowsers(IWebBrowser2* quitting = nullptr, long ownTicket = 0,
                                           bool* laterQuitListed = nullptr) noexcept;

}  // namespace vexbane::ext
