// The count of browser windows, through ShellWindows.
#include "BrowserCount.h"

#include <windows.h>
#include <exdisp.h>

#include "win/bstr.h"
#include "core/quit_count.h"
#include "win/com_ptr.h"
#include "win/guid.h"

namespace vexbane::ext {
namespace {

// An item that is no browser object or has no readable program path is not counted.
bool ItemIsBrowser(IShellWindows& windows, long index) noexcept {
  try {
    VARIANT at;
    ::VariantInit(&at);
    at.vt = VT_I4;
    at.lVal = index;
    win::ComPtr<IDispatch> item;
    if (FAILED(windows.Item(at, item.put())) || !item) return false;
    win::ComPtr<IWebBrowser2> browser;
    if (FAILED(item.As(IID_IWebBrowser2, browser)) || !browser) return false;
    win::UniqueBstr fullName;
    if (FAILED(browser->get_FullName(fullName.put()))) return false;
    return quit::CountsAsBrowser(win::AnsiFromBstr(fullName.get()));
  } catch (...) {
    return false;
  }
}

}  // namespace

std::optional<int16_t> CountListedBrowsers() noexcept {
  win::ComPtr<IShellWindows> windows;
  const GUID clsid = win::ToGuid(ids::kClsidShellWindows);
  if (FAILED(::CoCreateInstance(clsid, nullptr, CLSCTX_ALL, IID_IShellWindows, windows.put_void())) || !windows)
    return std::nullopt;
  long count = 0;
  if (FAILED(windows->get_Count(&count))) return std::nullopt;
  int16_t browsers = 0;
  for (long i = 0; i < count; ++i) {
    if (ItemIsBrowser(*windows.get(), i)) ++browsers;
  }
  return browsers;
}

}  // namespace vexbane::ext
