// Reads of the browser object's properties and of window facts.
#include "BrowserProps.h"

#include <oleauto.h>

#include <vector>

#include "win/bstr.h"

namespace vexbane::ext {

HWND ReadBrowserHwnd(IWebBrowser2* ie) noexcept {
  if (!ie) return nullptr;
  SHANDLE_PTR value = 0;
  if (FAILED(ie->get_HWND(&value))) return nullptr;
  return reinterpret_cast<HWND>(value);
}

bool ReadLocationURL(IWebBrowser2* ie, std::string& url) noexcept {
  if (!ie) return false;
  win::UniqueBstr text;
  if (FAILED(ie->get_LocationURL(text.put()))) return false;
  try {
    win::AssignAnsiFromBstr(text.get(), url);
    return true;
  } catch (...) {
    return false;
  }
}

std::string WindowClassName(HWND hwnd, int bufferSize) noexcept {
  try {
    std::vector<char> buffer(static_cast<size_t>(bufferSize) + 1, '\0');
    int got = ::GetClassNameA(hwnd, buffer.data(), bufferSize);
    return got > 0 ? std::string(buffer.data(), static_cast<size_t>(got)) : std::string();
  } catch (...) {
    return std::string();
  }
}

std::string WindowText(HWND hwnd) noexcept {
  char buffer[256] = {};
  int got = ::GetWindowTextA(hwnd, buffer, sizeof buffer);
  try {
    return got > 0 ? std::string(buffer, static_cast<size_t>(got)) : std::string();
  } catch (...) {
    return std::string();
  }
}

}  // namespace vexbane::ext
