// The DWebBrowserEvents2 sink.
#include "EventSink.h"

#include <new>

#include "Guids.h"
#include "win/com_server.h"

namespace vexbane::ext {
namespace {

// NewWindow2's arguments come last-first: rgvarg[0] is Cancel, a reference to a VARIANT_BOOL.
VARIANT_BOOL* CancelArgument(const DISPPARAMS* params) noexcept {
  if (!params || params->cArgs < 1 || !params->rgvarg) return nullptr;
  VARIANTARG& cancel = params->rgvarg[0];
  if (V_VT(&cancel) != (VT_BYREF | VT_BOOL)) return nullptr;
  return V_BOOLREF(&cancel);
}

// NewWindow3's five arguments, last-first: bstrUrl, bstrUrlContext, dwFlags, Cancel, ppDisp.
struct NewWindow3Args {
  VARIANT_BOOL* cancel = nullptr;
  BSTR url = nullptr;
  BSTR opener = nullptr;
  DWORD flags = 0;
};

// dwFlags is a 32-bit number; a browser may pass it signed or not, by value or by reference.
DWORD FlagsArgument(const VARIANTARG& arg) noexcept {
  switch (V_VT(&arg)) {
    case VT_I4: return static_cast<DWORD>(V_I4(&arg));
    case VT_UI4: return V_UI4(&arg);
    case VT_BYREF | VT_I4: return V_I4REF(&arg) ? static_cast<DWORD>(*V_I4REF(&arg)) : 0;
    case VT_BYREF | VT_UI4: return V_UI4REF(&arg) ? *V_UI4REF(&arg) : 0;
    default: return 0;
  }
}

BSTR TextArgument(const VARIANTARG& arg) noexcept {
  if (V_VT(&arg) == VT_BSTR) return V_BSTR(&arg);
  if (V_VT(&arg) == (VT_BYREF | VT_BSTR) && V_BSTRREF(&arg)) return *V_BSTRREF(&arg);
  return nullptr;
}

NewWindow3Args NewWindow3Arguments(const DISPPARAMS* params) noexcept {
  NewWindow3Args args;
  if (!params || params->cArgs < 4 || !params->rgvarg) return args;
  args.url = TextArgument(params->rgvarg[0]);
  args.opener = TextArgument(params->rgvarg[1]);
  args.flags = FlagsArgument(params->rgvarg[2]);
  const VARIANTARG& cancel = params->rgvarg[3];
  if (V_VT(&cancel) == (VT_BYREF | VT_BOOL)) args.cancel = V_BOOLREF(&cancel);
  return args;
}

}  // namespace

EventSink::EventSink(BrowserEvents* owner) noexcept : m_owner(owner) { win::ModuleAddRef(); }

EventSink::~EventSink() { win::ModuleRelease(); }

EventSink* EventSink::Create(BrowserEvents* owner) noexcept { return new (std::nothrow) EventSink(owner); }

HRESULT EventSink::Connect(IUnknown* browser) noexcept {
  if (!browser) return E_POINTER;
  win::ComPtr<IConnectionPointContainer> container;
  HRESULT hr = browser->QueryInterface(IID_IConnectionPointContainer, container.put_void());
  if (FAILED(hr)) return hr;
  win::ComPtr<IConnectionPoint> point;
  hr = container->FindConnectionPoint(kDiidDWebBrowserEvents2, point.put());
  if (FAILED(hr)) return hr;
  DWORD cookie = 0;
  hr = point->Advise(static_cast<IDispatch*>(this), &cookie);
  if (FAILED(hr)) return hr;
  m_point = point;
  m_cookie = cookie;
  return S_OK;
}

void EventSink::Disconnect() noexcept {
  m_owner = nullptr;
  if (m_point) m_point->Unadvise(m_cookie);
  m_point.reset();
  m_cookie = 0;
}

STDMETHODIMP EventSink::QueryInterface(REFIID iid, void** out) noexcept {
  if (!out) return E_POINTER;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) ||
      IsEqualIID(iid, kDiidDWebBrowserEvents2)) {
    *out = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) EventSink::AddRef() noexcept { return ::InterlockedIncrement(&m_refs); }

STDMETHODIMP_(ULONG) EventSink::Release() noexcept {
  LONG n = ::InterlockedDecrement(&m_refs);
  if (n == 0) delete this;
  return n;
}

STDMETHODIMP EventSink::GetTypeInfoCount(UINT* count) noexcept {
  if (!count) return E_POINTER;
  *count = 0;
  return S_OK;
}

STDMETHODIMP EventSink::GetTypeInfo(UINT, LCID, ITypeInfo** info) noexcept {
  if (info) *info = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP EventSink::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) noexcept { return E_NOTIMPL; }

// Whatever happens inside a handler, the browser hears success.
STDMETHODIMP EventSink::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                               UINT*) noexcept {
  BrowserEvents* owner = m_owner;
  if (!owner) return S_OK;
  // Most of a page visit's events are none of ours: they cost nothing but the test.
  if (id != kDispidBeforeNavigate2 && id != kDispidTitleChange && id != kDispidNewWindow2 &&
      id != kDispidNewWindow3 && id != kDispidOnQuit)
    return S_OK;
  AddRef();  // a handler may disconnect this sink
  switch (id) {
    case kDispidBeforeNavigate2: owner->OnBeforeNavigate2(); break;
    case kDispidTitleChange: owner->OnTitleChange(); break;
    case kDispidNewWindow2: owner->OnNewWindow2(CancelArgument(params)); break;
    case kDispidNewWindow3: {
      const NewWindow3Args args = NewWindow3Arguments(params);
      owner->OnNewWindow3(args.cancel, args.url, args.opener, args.flags);
      break;
    }
    case kDispidOnQuit: owner->OnQuit(); break;
    default: break;
  }
  Release();
  return S_OK;
}

}  // namespace vexbane::ext
