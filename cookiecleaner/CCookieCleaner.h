// The component's COM class: ICookieCleaner with IDispatch answered from the embedded type library.
#pragma once
#include <windows.h>

#include "ICookieCleaner.h"
#include "win/com_ptr.h"

namespace vexbane::cookiecleaner {

// Creates a new object and queries it for `iid` (the class table's creation function).
HRESULT CreateCookieCleaner(REFIID iid, void** out) noexcept;

class CCookieCleaner final : public ICookieCleaner {
 public:
  CCookieCleaner() noexcept;
  CCookieCleaner(const CCookieCleaner&) = delete;
  CCookieCleaner& operator=(const CCookieCleaner&) = delete;

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID iid, void** out) noexcept override;
  STDMETHODIMP_(ULONG) AddRef() noexcept override;
  STDMETHODIMP_(ULONG) Release() noexcept override;

  // IDispatch
  STDMETHODIMP GetTypeInfoCount(UINT* count) noexcept override;
  STDMETHODIMP GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) noexcept override;
  STDMETHODIMP GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) noexcept override;
  STDMETHODIMP Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                      EXCEPINFO* exception, UINT* argError) noexcept override;

  // ICookieCleaner
  STDMETHODIMP Clean(BSTR code) noexcept override;

 private:
  ~CCookieCleaner();
  // The interface's type information, loaded from this module on first use.
  HRESULT TypeInfo(ITypeInfo** info) noexcept;

  volatile LONG m_refs = 1;
  win::ComPtr<ITypeInfo> m_typeInfo;
};

}  // namespace vexbane::cookiecleaner
