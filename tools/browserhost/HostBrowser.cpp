// The stand-in browser object.
#include "HostBrowser.h"

#include <oleauto.h>
#include <olectl.h>

#include <algorithm>
#include <new>

namespace vexbane::host {
namespace {

// DWebBrowserEvents2 {34A715A0-6587-11D0-924A-0020AFC7AC4D}
constexpr GUID kDiidDWebBrowserEvents2 = {0x34a715a0, 0x6587, 0x11d0, {0x92, 0x4a, 0x00, 0x20, 0xaf, 0xc7, 0xac, 0x4d}};
// IWebBrowser2 {D30C1661-CDAF-11D0-8A3E-00C04FC9E26E}, IWebBrowserApp, IWebBrowser
constexpr GUID kIidIWebBrowser2 = {0xd30c1661, 0xcdaf, 0x11d0, {0x8a, 0x3e, 0x00, 0xc0, 0x4f, 0xc9, 0xe2, 0x6e}};
constexpr GUID kIidIWebBrowserApp = {0x0002df05, 0x0000, 0x0000, {0xc0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr GUID kIidIWebBrowser = {0xeab22ac1, 0x30c1, 0x11cf, {0xa7, 0xeb, 0x00, 0x00, 0xc0, 0x5b, 0xae, 0x0b}};

HRESULT CopyBstr(const std::wstring& text, BSTR* out) noexcept {
  if (!out) return E_POINTER;
  *out = ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  return *out ? S_OK : E_OUTOFMEMORY;
}

VARIANTARG BstrArg(const std::string& text) {
  VARIANTARG v;
  ::VariantInit(&v);
  V_VT(&v) = VT_BSTR;
  std::wstring wide = Widen(text);
  V_BSTR(&v) = ::SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
  return v;
}

}  // namespace

std::wstring Widen(const std::string& text) {
  if (text.empty()) return std::wstring();
  int n = ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
  return out;
}

HostBrowser* HostBrowser::Create(HWND hwnd, const std::string& fullName) noexcept {
  try {
    return new HostBrowser(hwnd, fullName);
  } catch (...) {
    return nullptr;
  }
}

HostBrowser::HostBrowser(HWND hwnd, const std::string& fullName) noexcept : m_hwnd(hwnd) {
  SetFullName(fullName);
}

void HostBrowser::SetLocationURL(const std::string& url) { m_url = Widen(url); }
void HostBrowser::SetFullName(const std::string& fullName) { m_fullName = Widen(fullName); }

ULONG HostBrowser::RefCount() noexcept {
  AddRef();
  return Release();
}

void HostBrowser::Fire(DISPID id, std::vector<VARIANTARG> args) noexcept {
  std::reverse(args.begin(), args.end());
  DISPPARAMS params = {args.data(), nullptr, static_cast<UINT>(args.size()), 0};
  // A sink may unadvise while it handles the event: fire to a copy of the list.
  std::vector<Sink> sinks = m_sinks;
  for (const Sink& s : sinks)
    s.dispatch->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
  for (VARIANTARG& v : args)
    if (!(V_VT(&v) & VT_BYREF)) ::VariantClear(&v);
}

void HostBrowser::FireBeforeNavigate2(const std::string& url) noexcept {
  SetLocationURL(url);
  VARIANT empty;
  ::VariantInit(&empty);
  VARIANT_BOOL cancel = VARIANT_FALSE;
  std::vector<VARIANTARG> args(7);
  for (auto& a : args) ::VariantInit(&a);
  V_VT(&args[0]) = VT_DISPATCH;  // pDisp
  V_DISPATCH(&args[0]) = static_cast<IWebBrowser2*>(this);
  AddRef();
  args[1] = BstrArg(url);        // URL
  V_VT(&args[2]) = VT_I4;        // Flags
  args[3] = BstrArg("");         // TargetFrameName
  V_VT(&args[4]) = VT_BYREF | VT_VARIANT;  // PostData
  V_VARIANTREF(&args[4]) = &empty;
  args[5] = BstrArg("");         // Headers
  V_VT(&args[6]) = VT_BYREF | VT_BOOL;     // Cancel
  V_BOOLREF(&args[6]) = &cancel;
  Fire(250, std::move(args));
}

void HostBrowser::FireTitleChange(const std::string& title) noexcept { Fire(113, {BstrArg(title)}); }

bool HostBrowser::FireNewWindow2() noexcept {
  VARIANT_BOOL cancel = VARIANT_FALSE;
  FireNewWindow2(cancel);
  return cancel != VARIANT_FALSE;
}

void HostBrowser::FireNewWindow2(VARIANT_BOOL& cancel) noexcept {
  IDispatch* newWindow = nullptr;
  std::vector<VARIANTARG> args(2);
  V_VT(&args[0]) = VT_BYREF | VT_DISPATCH;  // ppDisp
  V_DISPATCHREF(&args[0]) = &newWindow;
  V_VT(&args[1]) = VT_BYREF | VT_BOOL;      // Cancel
  V_BOOLREF(&args[1]) = &cancel;
  Fire(251, std::move(args));
  if (newWindow) newWindow->Release();
}

void HostBrowser::FireNewWindow3(const std::string& url, long flags, VARIANT_BOOL& cancel) noexcept {
  IDispatch* newWindow = nullptr;
  std::vector<VARIANTARG> args(5);
  V_VT(&args[0]) = VT_BYREF | VT_DISPATCH;  // ppDisp
  V_DISPATCHREF(&args[0]) = &newWindow;
  V_VT(&args[1]) = VT_BYREF | VT_BOOL;      // Cancel
  V_BOOLREF(&args[1]) = &cancel;
  ::VariantInit(&args[2]);                  // dwFlags
  V_VT(&args[2]) = VT_I4;
  V_I4(&args[2]) = flags;
  std::string opener;
  if (!m_url.empty()) {
    opener.resize(m_url.size() * 2);
    int n = ::WideCharToMultiByte(CP_ACP, 0, m_url.data(), static_cast<int>(m_url.size()), &opener[0],
                                  static_cast<int>(opener.size()), nullptr, nullptr);
    opener.resize(n > 0 ? static_cast<size_t>(n) : 0);
  }
  args[3] = BstrArg(opener);                // bstrUrlContext
  args[4] = BstrArg(url);                   // bstrUrl
  Fire(273, std::move(args));
  if (newWindow) newWindow->Release();
}

bool HostBrowser::RequestNewWindow(const std::string& url, long flags) noexcept {
  VARIANT_BOOL cancel = VARIANT_FALSE;
  switch (m_order) {
    case EventOrder::NewWindow2Only: FireNewWindow2(cancel); break;
    case EventOrder::NewWindow3Then2:
      FireNewWindow3(url, flags, cancel);
      if (cancel == VARIANT_FALSE) FireNewWindow2(cancel);
      break;
    case EventOrder::NewWindow3Only: FireNewWindow3(url, flags, cancel); break;
    case EventOrder::NewWindow2Then3:
      FireNewWindow2(cancel);
      FireNewWindow3(url, flags, cancel);
      break;
  }
  return cancel != VARIANT_FALSE;
}

bool EventOrderFromName(const std::string& name, EventOrder& order) {
  for (EventOrder o : {EventOrder::NewWindow2Only, EventOrder::NewWindow3Then2, EventOrder::NewWindow3Only,
                       EventOrder::NewWindow2Then3})
    if (name == EventOrderName(o)) {
      order = o;
      return true;
    }
  return false;
}

const char* EventOrderName(EventOrder order) {
  switch (order) {
    case EventOrder::NewWindow2Only: return "ie6";
    case EventOrder::NewWindow3Then2: return "sp2";
    case EventOrder::NewWindow3Only: return "3-only";
    case EventOrder::NewWindow2Then3: return "2-then-3";
  }
  return "?";
}

void HostBrowser::FireOnQuit() noexcept { Fire(253, {}); }

STDMETHODIMP HostBrowser::QueryInterface(REFIID iid, void** out) noexcept {
  if (!out) return E_POINTER;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, kIidIWebBrowser2) ||
      IsEqualIID(iid, kIidIWebBrowserApp) || IsEqualIID(iid, kIidIWebBrowser)) {
    *out = static_cast<IWebBrowser2*>(this);
  } else if (IsEqualIID(iid, IID_IConnectionPointContainer)) {
    *out = static_cast<IConnectionPointContainer*>(this);
  } else {
    *out = nullptr;
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) HostBrowser::AddRef() noexcept { return ::InterlockedIncrement(&m_refs); }

STDMETHODIMP_(ULONG) HostBrowser::Release() noexcept {
  LONG n = ::InterlockedDecrement(&m_refs);
  if (n == 0) delete this;
  return n;
}

STDMETHODIMP HostBrowser::GetTypeInfoCount(UINT* count) noexcept {
  if (!count) return E_POINTER;
  *count = 0;
  return S_OK;
}
STDMETHODIMP HostBrowser::GetTypeInfo(UINT, LCID, ITypeInfo**) noexcept { return E_NOTIMPL; }
STDMETHODIMP HostBrowser::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) noexcept { return E_NOTIMPL; }
STDMETHODIMP HostBrowser::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) noexcept {
  return E_NOTIMPL;
}

STDMETHODIMP HostBrowser::get_HWND(SHANDLE_PTR* hwnd) noexcept {
  if (!hwnd) return E_POINTER;
  *hwnd = reinterpret_cast<SHANDLE_PTR>(m_hwnd);
  return S_OK;
}

STDMETHODIMP HostBrowser::get_LocationURL(BSTR* url) noexcept { return CopyBstr(m_url, url); }
STDMETHODIMP HostBrowser::get_FullName(BSTR* name) noexcept { return CopyBstr(m_fullName, name); }

STDMETHODIMP HostBrowser::Quit() noexcept {
  m_quitRequested = true;
  return S_OK;
}

STDMETHODIMP HostBrowser::Navigate2(VARIANT* url, VARIANT* flags, VARIANT*, VARIANT*, VARIANT* headers) noexcept {
  constexpr long kNavOpenInNewWindow = 0x1;
  constexpr long kNavOpenInNewTab = 0x800;
  constexpr long kForceTab = 0x20000;  // NWMF_FORCETAB: what the new-window events then say
  if (!url || V_VT(url) != VT_BSTR) return E_INVALIDARG;
  long how = 0;
  if (flags && V_VT(flags) == VT_I4) how = V_I4(flags);
  if (!(how & (kNavOpenInNewWindow | kNavOpenInNewTab))) return E_NOTIMPL;
  try {
    auto ansi = [](BSTR b) {
      std::string out;
      for (UINT i = 0; b && i < ::SysStringLen(b); ++i) out += static_cast<char>(b[i] < 0x80 ? b[i] : '?');
      return out;
    };
    const bool asTab = (how & kNavOpenInNewTab) != 0;
    Opened opened{ansi(V_BSTR(url)), headers && V_VT(headers) == VT_BSTR ? ansi(V_BSTR(headers)) : "", asTab};
    // a sink cancelled it: no window
    if (RequestNewWindow(opened.url, asTab ? kNewWindowFlags | kForceTab : kNewWindowFlags)) return S_OK;
    m_opened.push_back(std::move(opened));
    return S_OK;
  } catch (...) {
    return E_OUTOFMEMORY;
  }
}

STDMETHODIMP HostBrowser::EnumConnectionPoints(IEnumConnectionPoints** out) noexcept {
  if (out) *out = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP HostBrowser::FindConnectionPoint(REFIID iid, IConnectionPoint** out) noexcept {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (!IsEqualIID(iid, kDiidDWebBrowserEvents2)) return CONNECT_E_NOCONNECTION;
  *out = static_cast<IConnectionPoint*>(this);
  AddRef();
  return S_OK;
}

STDMETHODIMP HostBrowser::GetConnectionInterface(IID* iid) noexcept {
  if (!iid) return E_POINTER;
  *iid = kDiidDWebBrowserEvents2;
  return S_OK;
}

STDMETHODIMP HostBrowser::GetConnectionPointContainer(IConnectionPointContainer** out) noexcept {
  if (!out) return E_POINTER;
  *out = static_cast<IConnectionPointContainer*>(this);
  AddRef();
  return S_OK;
}

// Like the real browser, the sink is asked for the event interface itself.
STDMETHODIMP HostBrowser::Advise(IUnknown* sink, DWORD* cookie) noexcept {
  if (!sink || !cookie) return E_POINTER;
  *cookie = 0;
  win::ComPtr<IDispatch> dispatch;
  if (FAILED(sink->QueryInterface(kDiidDWebBrowserEvents2, dispatch.put_void()))) return CONNECT_E_CANNOTCONNECT;
  try {
    m_sinks.push_back({m_nextCookie, dispatch});
  } catch (...) {
    return E_OUTOFMEMORY;
  }
  *cookie = m_nextCookie++;
  return S_OK;
}

STDMETHODIMP HostBrowser::Unadvise(DWORD cookie) noexcept {
  auto it = std::find_if(m_sinks.begin(), m_sinks.end(), [cookie](const Sink& s) { return s.cookie == cookie; });
  if (it == m_sinks.end()) return CONNECT_E_NOCONNECTION;
  m_sinks.erase(it);
  return S_OK;
}

STDMETHODIMP HostBrowser::EnumConnections(IEnumConnections** out) noexcept {
  if (out) *out = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP HostBrowser::PutProperty(BSTR property, VARIANT value) noexcept {
  if (!property) return E_INVALIDARG;
  VARIANT number;
  ::VariantInit(&number);
  if (FAILED(::VariantChangeType(&number, &value, 0, VT_I4))) return E_NOTIMPL;
  try {
    win::Lock lock(m_propertiesLock);
    m_properties[property] = number.lVal;
  } catch (...) {
    return E_OUTOFMEMORY;
  }
  return S_OK;
}

STDMETHODIMP HostBrowser::GetProperty(BSTR property, VARIANT* value) noexcept {
  if (!property || !value) return E_INVALIDARG;
  ::VariantInit(value);
  try {
    win::Lock lock(m_propertiesLock);
    auto found = m_properties.find(property);
    if (found == m_properties.end()) return S_OK;  // VT_EMPTY, as a browser answers
    value->vt = VT_I4;
    value->lVal = found->second;
  } catch (...) {
    return E_OUTOFMEMORY;
  }
  return S_OK;
}

}  // namespace vexbane::host
