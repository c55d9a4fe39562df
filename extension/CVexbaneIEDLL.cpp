// CVexbaneIEDLL: identity, dispatch through the type library, site access and the quit event.
#include "CVexbaneIEDLL.h"

#include <oleauto.h>

#include <new>
#include <string>

#include "BrowserQuit.h"
#include "Guids.h"
#include "TabShape.h"
#include "win/com_registration.h"
#include "win/com_server.h"
#include "win/window.h"

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

CVexbaneIEDLL::~CVexbaneIEDLL() {
  Detach();
  ModuleRelease();
}

STDMETHODIMP CVexbaneIEDLL::QueryInterface(REFIID iid, void** out) noexcept {
  if (!out) return E_POINTER;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, kIidCVexbaneIEDLL)) {
    *out = static_cast<_CVexbaneIEDLL*>(this);
  } else if (IsEqualIID(iid, IID_IObjectWithSite)) {
    *out = static_cast<IObjectWithSite*>(this);
  } else {
    *out = nullptr;
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) CVexbaneIEDLL::AddRef() noexcept { return ::InterlockedIncrement(&m_refs); }

STDMETHODIMP_(ULONG) CVexbaneIEDLL::Release() noexcept {
  LONG n = ::InterlockedDecrement(&m_refs);
  if (n == 0) delete this;
  return n;
}

// The vtable half of the dual interface, loaded once per object from the module's own file.
HRESULT CVexbaneIEDLL::DualTypeInfo(ITypeInfo** info) noexcept {
  *info = nullptr;
  if (!m_typeInfo) {
    win::ComPtr<ITypeLib> lib;
    HRESULT hr = win::LoadModuleTypeLib(win::ThisModule(), REGKIND_NONE, lib.put());
    if (FAILED(hr)) return hr;
    win::ComPtr<ITypeInfo> dispatchInfo;
    hr = lib->GetTypeInfoOfGuid(kIidCVexbaneIEDLL, dispatchInfo.put());
    if (FAILED(hr)) return hr;
    HREFTYPE ref = 0;
    win::ComPtr<ITypeInfo> vtableInfo;
    if (SUCCEEDED(dispatchInfo->GetRefTypeOfImplType(static_cast<UINT>(-1), &ref)) &&
        SUCCEEDED(dispatchInfo->GetRefTypeInfo(ref, vtableInfo.put())))
      m_typeInfo = vtableInfo;
    else
      m_typeInfo = dispatchInfo;
  }
  *info = m_typeInfo.get();
  (*info)->AddRef();
  return S_OK;
}

STDMETHODIMP CVexbaneIEDLL::GetTypeInfoCount(UINT* count) noexcept {
  if (!count) return E_POINTER;
  *count = 1;
  return S_OK;
}

STDMETHODIMP CVexbaneIEDLL::GetTypeInfo(UINT index, LCID, ITypeInfo** info) noexcept {
  if (!info) return E_POINTER;
  *info = nullptr;
  if (index != 0) return DISP_E_BADINDEX;
  return DualTypeInfo(info);
}

STDMETHODIMP CVexbaneIEDLL::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) noexcept {
  win::ComPtr<ITypeInfo> info;
  HRESULT hr = DualTypeInfo(info.put());
  if (FAILED(hr)) return hr;
  return ::DispGetIDsOfNames(info.get(), names, count, ids);
}

STDMETHODIMP CVexbaneIEDLL::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                   EXCEPINFO* excep, UINT* argErr) noexcept {
  win::ComPtr<ITypeInfo> info;
  HRESULT hr = DualTypeInfo(info.put());
  if (FAILED(hr)) return hr;
  return info->Invoke(static_cast<_CVexbaneIEDLL*>(this), id, flags, params, result, excep, argErr);
}

// A second quit of the same attach, or the quit of an object that never counted a frame
// window, changes nothing: the hooks and the count were only taken once.
STDMETHODIMP CVexbaneIEDLL::m_ie_OnQuit() noexcept {
  if (!m_attachedToFrame || m_quit) return S_OK;
  m_quit = true;
  ReleaseHookShare();
  if (ThreadState* st = CurrentThreadState()) OnBrowserQuit(*st, m_countIE, m_ie.get());
  return S_OK;
}

STDMETHODIMP CVexbaneIEDLL::SetSite(IUnknown* site) noexcept {
  // Whether a closing tab fires OnQuit is not settled; losing its site is its end either way,
  // and the recount must not wait for a quit event that may never come. (IE 6 fires OnQuit
  // for every window; there a detach leaves the count alone.)
  if (!site && m_inTab) m_ie_OnQuit();
  Detach();
  m_inTab = false;
  if (site) {
    Attach(site);
    const ThreadState* st = CurrentThreadState();
    m_inTab = m_attachedToFrame && st && FrameOfAnotherThread(st->lngFrameHwnd);
  }
  return S_OK;
}

STDMETHODIMP CVexbaneIEDLL::GetSite(REFIID iid, void** out) noexcept {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (!m_site) return E_FAIL;
  return m_site->QueryInterface(iid, out);
}

// Only changes this thread's state and calls nobody: nothing can let the object go meanwhile.
void CVexbaneIEDLL::OnBeforeNavigate2() noexcept {
  m_pairing.Forget();
  m_ie_BeforeNavigate2();
}

void CVexbaneIEDLL::OnTitleChange() noexcept {
  AddRef();
  m_ie_TitleChange();
  Release();
}

void CVexbaneIEDLL::OnNewWindow2(VARIANT_BOOL* cancel) noexcept {
  AddRef();
  m_ie_NewWindow2(nullptr, cancel);
  Release();
}

void CVexbaneIEDLL::OnNewWindow3(VARIANT_BOOL* cancel, BSTR url, BSTR opener, DWORD flags) noexcept {
  AddRef();
  m_ie_NewWindow3(cancel, flags, opener, url);
  Release();
}

void CVexbaneIEDLL::OnQuit() noexcept {
  AddRef();
  m_ie_OnQuit();
  Release();
}

}  // namespace vexbane::ext
