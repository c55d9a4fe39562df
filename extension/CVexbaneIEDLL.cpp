// CVexbaneIEDLL: identity and site handling.
#include "CVexbaneIEDLL.h"

#include <new>

#include "win/com_server.h"

namespace vexbane::ext {
using win::ModuleAddRef;
using win::ModuleRelease;

HRESULT CreateCVexbaneIEDLL(REFIID iid, void** out) noexcept {
  auto* obj = new (std::nothrow) CVexbaneIEDLL();
  if (!obj) return E_OUTOFMEMORY;
  HRESULT hr = obj->QueryInterface(iid, out);
  obj->Release();
  return hr;
}

CVexbaneIEDLL::CVexbaneIEDLL() noexcept { ModuleAddRef(); }
CVexbaneIEDLL::~CVexbaneIEDLL() { ModuleRelease(); }

STDMETHODIMP CVexbaneIEDLL::QueryInterface(REFIID iid, void** out) noexcept {
  if (!out) return E_POINTER;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IObjectWithSite)) {
    *out = static_cast<IObjectWithSite*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) CVexbaneIEDLL::AddRef() noexcept { return ::InterlockedIncrement(&m_refs); }

STDMETHODIMP_(ULONG) CVexbaneIEDLL::Release() noexcept {
  LONG n = ::InterlockedDecrement(&m_refs);
  if (n == 0) delete this;
  return n;
}

STDMETHODIMP CVexbaneIEDLL::SetSite(IUnknown* site) noexcept {
  m_site = win::ComPtr<IUnknown>(site);
  return S_OK;
}

STDMETHODIMP CVexbaneIEDLL::GetSite(REFIID iid, void** out) noexcept {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (!m_site) return E_FAIL;
  return m_site->QueryInterface(iid, out);
}

}  // namespace vexbane::ext
