// The DWebBrowserEvents2 sink: a small object of its own, so that the browser's connection holds
// the sink and not the helper object (no reference cycle between helper and browser).
#pragma once
#include <windows.h>
#include <ocidl.h>

#include "BrowserEvents.h"
#include "win/com_ptr.h"

namespace vexbane::ext {

class EventSink final : public IDispatch {
 public:
  // A new sink (one reference, owned by the caller) that hands events to `owner`; null when
  // memory is short.
  static EventSink* Create(BrowserEvents* owner) noexcept;

  // Advises the browser's DWebBrowserEvents2 connection point. Returns the HRESULT.
  HRESULT Connect(IUnknown* browser) noexcept;
  // Unadvises and forgets the owner: no event reaches it afterwards.
  void Disconnect() noexcept;

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID iid, void** out) noexcept override;
  STDMETHODIMP_(ULONG) AddRef() noexcept override;
  STDMETHODIMP_(ULONG) Release() noexcept override;
  // IDispatch: events arrive by dispatch id; names and type information are not offered.
  STDMETHODIMP GetTypeInfoCount(UINT* count) noexcept override;
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) noexcept override;
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) noexcept override;
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                      UINT*) noexcept override;

 private:
  // Counted in the module like every object of the server: the browser may hold the sink (and
  // call into its code) after the helper object has gone.
  explicit EventSink(BrowserEvents* owner) noexcept;
  ~EventSink();
  volatile LONG m_refs = 1;
  BrowserEvents* m_owner;
  win::ComPtr<IConnectionPoint> m_point;
  DWORD m_cookie = 0;
};

}  // namespace vexbane::ext
