// The stand-in shell window list: a class object for CLSID_ShellWindows registered in this
// process (Wine's own list is a stub that always counts 0), listing the host's browser objects.
#pragma once
#include <windows.h>
#include <exdisp.h>

#include <vector>

#include "win/com_ptr.h"

namespace vexbane::host {

// The browser objects the collection lists, in order of opening. Owned by the host session.
using BrowserList = std::vector<win::ComPtr<IDispatch>>;

// Registers the class object for the calling apartment; revoked on destruction.
class ShellWindowsRegistration {
 public:
  // `context`: a tab's thread registers the list for its own apartment only.
  explicit ShellWindowsRegistration(const BrowserList* list,
                                    DWORD context = CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER) noexcept;
  ~ShellWindowsRegistration();
  ShellWindowsRegistration(const ShellWindowsRegistration&) = delete;
  ShellWindowsRegistration& operator=(const ShellWindowsRegistration&) = delete;
  HRESULT result() const noexcept { return m_hr; }

 private:
  DWORD m_cookie = 0;
  HRESULT m_hr = E_FAIL;
};

// A new collection object over `list` (one reference, owned by the caller).
IShellWindows* CreateShellWindows(const BrowserList* list) noexcept;

}  // namespace vexbane::host
