// The one call of the cookie-cleaning component.
#include "CookieCleanerClient.h"

#include <windows.h>
#include <objbase.h>

#include "ICookieCleaner.h"
#include "core/product_ids.h"
#include "win/bstr.h"
#include "win/com_ptr.h"
#include "win/guid.h"

namespace vexbane::cookieclient {
namespace {

// COM for the length of one call, whatever the calling thread already set up: a browser thread
// has its apartment already, the tray program's thread may not.
class ComForCall {
 public:
  ComForCall() noexcept : m_initialized(SUCCEEDED(::CoInitialize(nullptr))) {}
  ~ComForCall() {
    if (m_initialized) ::CoUninitialize();
  }
  ComForCall(const ComForCall&) = delete;
  ComForCall& operator=(const ComForCall&) = delete;

 private:
  bool m_initialized;
};

}  // namespace

void RunCookieCleaner() noexcept {
  try {
    ComForCall com;
    win::ComPtr<cookiecleaner::ICookieCleaner> cleaner;
    if (FAILED(::CoCreateInstance(win::ToGuid(ids::kClsidCookieCleaner), nullptr, CLSCTX_INPROC_SERVER,
                                  win::ToGuid(ids::kIidCookieCleaner), cleaner.put_void())) ||
        !cleaner)
      return;
    win::UniqueBstr code = win::BstrFromAnsi(ids::kCookieCleanerCode);
    if (!code) return;
    cleaner->Clean(code.get());
  } catch (...) {
  }
}

}  // namespace vexbane::cookieclient
