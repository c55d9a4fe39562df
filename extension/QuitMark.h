// Marks on the browser objects of windows that are quitting, so that windows quitting at the
// same moment, in any thread or process, leave each other out of their recounts.
#pragma once
#include <windows.h>
#include <exdisp.h>

namespace vexbane::ext {

// Takes the next quit ticket of the desktop and puts it on `browser` (its property
// "VexbaneQuitTicket"); 0 when the browser cannot carry it. Called under the count's lock, so
// that tickets follow the order in which the marks become visible.
long MarkQuitting(IWebBrowser2* browser) noexcept;

// The ticket on `browser`; 0 for a browser that is not quitting.
long QuitTicketOf(IWebBrowser2* browser) noexcept;

}  // namespace vexbane::ext
