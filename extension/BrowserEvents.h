// The browser events the helper object reacts to, as the event sink hands them on.
#pragma once
#include <windows.h>
#include <oaidl.h>

namespace vexbane::ext {

class BrowserEvents {
 public:
  virtual void OnBeforeNavigate2() noexcept = 0;
  virtual void OnTitleChange() noexcept = 0;
  // `cancel` is the event's in/out Cancel flag; null when the browser passed none.
  virtual void OnNewWindow2(VARIANT_BOOL* cancel) noexcept = 0;
  // NewWindow3 of IE 6 SP2 and later: `url` is the address the new window would show, `opener`
  // the page that asked for it; either may be null. `flags` are its NWMF flags (0 when missing).
  virtual void OnNewWindow3(VARIANT_BOOL* cancel, BSTR url, BSTR opener, DWORD flags) noexcept = 0;
  virtual void OnQuit() noexcept = 0;

 protected:
  ~BrowserEvents() = default;
};

}  // namespace vexbane::ext
