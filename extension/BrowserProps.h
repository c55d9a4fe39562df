// Reads of the browser object's properties and of window facts that the handlers need.
#pragma once
#include <windows.h>
#include <exdisp.h>

#include <string>

namespace vexbane::ext {

// The browser's window (its HWND property); null when it cannot be read.
HWND ReadBrowserHwnd(IWebBrowser2* ie) noexcept;

// The page address (LocationURL) as ANSI text; `url` is left as it was when the read fails.
bool ReadLocationURL(IWebBrowser2* ie, std::string& url) noexcept;

// The window's class name as GetClassNameA gives it into a buffer of `bufferSize` characters;
// empty when the call fails.
std::string WindowClassName(HWND hwnd, int bufferSize) noexcept;

// The window's text; empty when it has none or the window is gone.
std::string WindowText(HWND hwnd) noexcept;

}  // namespace vexbane::ext
