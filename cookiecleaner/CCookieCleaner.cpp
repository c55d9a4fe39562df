// The cookie cleaner object: reference counting, the dispatch plumbing and the one call.
#include "CCookieCleaner.h"

#include <oleauto.h>

#include <new>

#include "CookieFolderCleaning.h"
#include "Guids.h"
#include "core/cookiecleaner_rules.h"
#include "win/com_registration.h"
#include "win/com_server.h"
#include "win/file.h"
#include "win/window.h"

namespace vexbane::cookiecleaner {

HRESULT CreateCookieCleaner(REFIID iid, void** out) noexcept {
  if (!out) return E_POINTER;
  *out = nullptr;
  auto* obj = new (std::nothrow) CCookieCleaner();
  if (!obj) return E_OUTOFMEMORY;
  HRESULT hr = obj->QueryInterface(iid, out);
  obj->Release();
  return hr;
}

CCookieCleaner::CCookieCleaner() noexcept { win::ModuleAddRef(); }

CCookieCleaner::~CCookieCleaner() { win::ModuleRelease(); }

STDMETHODIMP CCookieCleaner::QueryInterface(REFIID iid, void** out) noexcept {
  if (!out) return E_POINTER;
  // One vtable answers all three: ICookieCleaner begins with IDispatch, which begins with IUnknown.
  const IID* const interfaces[] = {&IID_IUnknown, &IID_IDispatch, &kIidCookieCleaner};
  for (const IID* known : interfaces) {
    if (!IsEqualIID(iid, *known)) continue;
    *out = static_cast<ICookieCleaner*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) CCookieCleaner::AddRef() noexcept { return ::InterlockedIncrement(&m_refs); }

STDMETHODIMP_(ULONG) CCookieCleaner::Release() noexcept {
  LONG n = ::InterlockedDecrement(&m_refs);
  if (n == 0) delete this;
  return n;
}

HRESULT CCookieCleaner::TypeInfo(ITypeInfo** info) noexcept {
  *info = nullptr;
  if (!m_typeInfo) {
    win::ComPtr<ITypeLib> lib;
    HRESULT hr = win::LoadModuleTypeLib(win::ThisModule(), REGKIND_NONE, lib.put());
    if (FAILED(hr)) return hr;
    hr = lib->GetTypeInfoOfGuid(kIidCookieCleaner, m_typeInfo.put());
    if (FAILED(hr)) return hr;
  }
  *info = m_typeInfo.get();
  (*info)->AddRef();
  return S_OK;
}

STDMETHODIMP CCookieCleaner::GetTypeInfoCount(UINT* count) noexcept {
  if (!count) return E_POINTER;
  *count = 1;
  return S_OK;
}

STDMETHODIMP CCookieCleaner::GetTypeInfo(UINT index, LCID, ITypeInfo** info) noexcept {
  if (!info) return E_POINTER;
  *info = nullptr;
  if (index != 0) return DISP_E_BADINDEX;
  return TypeInfo(info);
}

STDMETHODIMP CCookieCleaner::GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID, DISPID* ids) noexcept {
  if (!IsEqualIID(iid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
  win::ComPtr<ITypeInfo> info;
  HRESULT hr = TypeInfo(info.put());
  if (FAILED(hr)) return hr;
  return ::DispGetIDsOfNames(info.get(), names, count, ids);
}

STDMETHODIMP CCookieCleaner::Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                    EXCEPINFO* exception, UINT* argError) noexcept {
  if (!IsEqualIID(iid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
  win::ComPtr<ITypeInfo> info;
  HRESULT hr = TypeInfo(info.put());
  if (FAILED(hr)) return hr;
  return ::DispInvoke(static_cast<ICookieCleaner*>(this), info.get(), id, flags, params, result, exception,
                      argError);
}

STDMETHODIMP CCookieCleaner::Clean(BSTR code) noexcept {
  // Callers ignore the result, and a wrong code must look no different from a clean folder.
  if (!IsCleanCode(code, ::SysStringLen(code))) return S_OK;
  try {
    CleanCookieFolder(win::ModuleFolder(win::ThisModule()));
  } catch (...) {
  }
  return S_OK;
}

}  // namespace vexbane::cookiecleaner
