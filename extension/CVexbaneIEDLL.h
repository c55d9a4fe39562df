// CVexbaneIEDLL: the object the browser creates for each of its windows.
#pragma once
#include <windows.h>
#include <ocidl.h>

#include "win/com_ptr.h"

namespace vexbane::ext {

// Creates a new object and queries it for `iid` (the class table's creator).
HRESULT CreateCVexbaneIEDLL(REFIID iid, void** out) noexcept;

class CVexbaneIEDLL final : public IObjectWithSite {
 public:
  CVexbaneIEDLL() noexcept;

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID iid, void** out) noexcept override;
  STDMETHODIMP_(ULONG) AddRef() noexcept override;
  STDMETHODIMP_(ULONG) Release() noexcept override;

  // IObjectWithSite
  STDMETHODIMP SetSite(IUnknown* site) noexcept override;
  STDMETHODIMP GetSite(REFIID iid, void** out) noexcept override;

 private:
  ~CVexbaneIEDLL();
  volatile LONG m_refs = 1;
  win::ComPtr<IUnknown> m_site;
};

}  // namespace vexbane::ext
