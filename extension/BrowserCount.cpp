// The count of browser windows, through ShellWindows.
#include "BrowserCount.h"

#include <windows.h>
#include <exdisp.h>

#include "QuitMark.h"
#include "win/bstr.h"
#include "core/quit_count.h"
#include "win/com_ptr.h"
#include "win/guid.h"

namespace vexbane::ext {
namespace {

// A browser object that has no readable program path is not counted.
bool IsBrowserProgram(IWebBrowser2* browser) noexcept {
  try {
    win::UniqueBstr fullName;
    if (!browser || FAILED(browser->get_FullName(fullName.put()))) return false;
    return quit::CountsAsBrowser(win::AnsiFromBstr(fullName.get()));
  } catch (...) {
    return false;
  }
}

// COM identity: the same object answers IUnknown with the same pointer.
IUnknown* Identity(IUnknown* object) noexcept {
  IUnknown* identity = nullptr;
  if (!object || FAILED(object->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity)))) return nullptr;
  identity->Release();  // only compared, never called
  return identity;
}

// An item that is no browser object is not counted, nor one that is quitting too (its ticket
// goes to `otherTicket`). `isQuitting` tells whether it is the quitting browser itself.
bool ItemIsBrowser(IShellWindows& windows, long index, IUnknown* quitting, bool& isQuitting,
                   long& otherTicket) noexcept {
  try {
    VARIANT at;
    ::VariantInit(&at);
    at.vt = VT_I4;
    at.lVal = index;
    win::ComPtr<IDispatch> item;
    if (FAILED(windows.Item(at, item.put())) || !item) return false;
    const bool self = quitting && Identity(item.get()) == quitting;
    if (self) isQuitting = true;
    win::ComPtr<IWebBrowser2> browser;
    if (FAILED(item.As(IID_IWebBrowser2, browser)) || !browser) return false;
    if (!self) {
      otherTicket = QuitTicketOf(browser.get());
      if (otherTicket) return false;
    }
    return IsBrowserProgram(browser.get());
  } catch (...) {
    return false;
  }
}

}  // namespace

std::optional<int16_t> CountListedBrowsers(IWebBrowser2* quitting, long ownTicket, bool* laterQuitListed) noexcept {
  win::ComPtr<IShellWindows> windows;
  const GUID clsid = win::ToGuid(ids::kClsidShellWindows);
  if (FAILED(::CoCreateInstance(clsid, nullptr, CLSCTX_ALL, IID_IShellWindows, windows.put_void())) || !windows)
    return std::nullopt;
  long count = 0;
  if (FAILED(windows->get_Count(&count))) return std::nullopt;
  IUnknown* self = Identity(quitting);
  bool selfListed = false;
  int16_t browsers = 0;
  for (long i = 0; i < count; ++i) {
    long otherTicket = 0;
    if (ItemIsBrowser(*windows.get(), i, self, selfListed, otherTicket)) ++browsers;
    if (otherTicket > ownTicket && laterQuitListed) *laterQuitListed = true;
  }
  if (self && !selfListed && IsBrowserProgram(quitting)) ++browsers;
  return browsers;
}

}  // namespace vexbane::ext
