// The one call of the external cookie-cleaning component.
#include "CookieCleanerCall.h"

#include <windows.h>
#include <oaidl.h>

#include "ComText.h"
#include "core/product_ids.h"
#include "win/com_ptr.h"
#include "win/guid.h"

namespace vexbane::ext {

// The component's interface: IDispatch's seven methods, then its own first method, which takes
// the code string. Only this slot is fixed; the method's name is ours. It must not sit in an
// unnamed namespace: with no implementation in sight the compiler would then bind the call to
// the pure virtual stub instead of the vtable.
struct ICookieCleaner : public IDispatch {
  virtual HRESULT STDMETHODCALLTYPE CleanCookies(BSTR code) = 0;
};

void RunCookieCleaner() noexcept {
  try {
    win::ComPtr<ICookieCleaner> cleaner;
    if (FAILED(::CoCreateInstance(win::ToGuid(ids::kClsidCookieCleaner), nullptr, CLSCTX_ALL,
                                  win::ToGuid(ids::kIidCookieCleaner), cleaner.put_void())) ||
        !cleaner)
      return;
    UniqueBstr code = BstrFromAnsi(ids::kCookieCleanerCode);
    if (!code) return;
    cleaner->CleanCookies(code.get());
  } catch (...) {
  }
}

}  // namespace vexbane::ext
