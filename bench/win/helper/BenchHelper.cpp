// The benchmark's floor helpers: the product's COM shape with no work, and with the work the
// product must do written plainly (no product code: only the plain calls of plain_calls.h).
#include <windows.h>
#include <exdisp.h>
#include <ocidl.h>

#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

#include "../bench_helper_ids.h"
#include "../plain_calls.h"
#include "../plain_com.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

using vexbane::bench::kClsidDoNothingHelper;
using vexbane::bench::kClsidPlainHelper;
using vexbane::bench::PlainDispatch;
using vexbane::bench::PlainObject;
namespace plain = vexbane::bench::plain;

namespace {

const IID kIidWebBrowser2 = {0xD30C1661, 0xCDAF, 0x11D0, {0x8A, 0x3E, 0x00, 0xC0, 0x4F, 0xC9, 0xE2, 0x6E}};
const IID kDiidEvents2 = {0x34A715A0, 0x6587, 0x11D0, {0x92, 0x4A, 0x00, 0x20, 0xAF, 0xC7, 0xAC, 0x4D}};

volatile LONG g_objects = 0;

// The module state the plain helper keeps (one browser thread in the benchmark).
struct PlainState {
  char folder[MAX_PATH] = {};
  HWND frame = nullptr;
  HWND form = nullptr, button = nullptr;
  int countIE = 0;
  int clickTime = 0;
  HHOOK mouse = nullptr, messages = nullptr;
  std::string pageUrl;
} g_state;

int TimeOfDay() {
  SYSTEMTIME t;
  ::GetLocalTime(&t);
  return ((t.wHour * 60 + t.wMinute) * 60 + t.wSecond) * 1000 + t.wMilliseconds;
}

LRESULT CALLBACK MouseProc(int code, WPARAM w, LPARAM l) { return ::CallNextHookEx(g_state.mouse, code, w, l); }
LRESULT CALLBACK MessageProc(int code, WPARAM w, LPARAM l) { return ::CallNextHookEx(g_state.messages, code, w, l); }

class Sink final : public PlainDispatch<Sink> {
 public:
  explicit Sink(bool plain) : PlainDispatch(kDiidEvents2), m_plain(plain) { ::InterlockedIncrement(&g_objects); }
  IWebBrowser2* browser = nullptr;  // not owned: the helper holds it while the sink is advised
  bool firstNavigate = true;

  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    if (!m_plain) return S_OK;
    if (id == 250 && firstNavigate) {  // BeforeNavigate2
      g_state.clickTime = 0;
      firstNavigate = false;
    } else if (id == 113 && browser) {  // TitleChange
      g_state.clickTime = 0;
      BSTR url = nullptr;
      if (SUCCEEDED(browser->get_LocationURL(&url)) && url) {
        int n = ::WideCharToMultiByte(CP_ACP, 0, url, -1, nullptr, 0, nullptr, nullptr);
        if (n > 0) {
          g_state.pageUrl.resize(static_cast<size_t>(n));
          ::WideCharToMultiByte(CP_ACP, 0, url, -1, &g_state.pageUrl[0], n, nullptr, nullptr);
          g_state.pageUrl.resize(static_cast<size_t>(n - 1));
        }
        ::SysFreeString(url);
      }
    }
    return S_OK;
  }

 private:
  friend class PlainObject<Sink, IDispatch>;
  ~Sink() { ::InterlockedDecrement(&g_objects); }
  bool m_plain;
};

class Helper final : public PlainObject<Helper, IObjectWithSite> {
 public:
  explicit Helper(bool plain) : PlainObject(IID_IObjectWithSite), m_plain(plain) { ::InterlockedIncrement(&g_objects); }

  STDMETHODIMP SetSite(IUnknown* site) override {
    Detach();
    if (!site) return S_OK;
    site->AddRef();
    m_site = site;
    if (FAILED(site->QueryInterface(kIidWebBrowser2, reinterpret_cast<void**>(&m_browser)))) return S_OK;
    Connect();
    if (m_plain) AttachWork();
    return S_OK;
  }
  STDMETHODIMP GetSite(REFIID iid, void** out) override {
    if (!m_site) {
      *out = nullptr;
      return E_FAIL;
    }
    return m_site->QueryInterface(iid, out);
  }

 private:
  friend class PlainObject<Helper, IObjectWithSite>;
  ~Helper() {
    Detach();
    ::InterlockedDecrement(&g_objects);
  }

  void Connect() {
    IConnectionPointContainer* container = nullptr;
    if (FAILED(m_browser->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container)))) return;
    container->FindConnectionPoint(kDiidEvents2, &m_point);
    container->Release();
    if (!m_point) return;
    m_sink = new (std::nothrow) Sink(m_plain);
    if (!m_sink) return;
    m_sink->browser = m_browser;
    m_point->Advise(m_sink, &m_cookie);
  }

  void AttachWork() {
    PlainState& st = g_state;
    ::GetModuleFileNameA(reinterpret_cast<HMODULE>(&__ImageBase), st.folder, MAX_PATH);
    if (char* slash = std::strrchr(st.folder, '\\')) *slash = '\0';
    st.frame = nullptr;
    SHANDLE_PTR hwnd = 0;
    m_browser->get_HWND(&hwnd);
    char name[500];
    int n = ::GetClassNameA(reinterpret_cast<HWND>(hwnd), name, sizeof name);
    if (n <= 0 || ::lstrcmpiA(name, "IEFrame") != 0) return;
    st.frame = reinterpret_cast<HWND>(hwnd);
    st.form = st.button = nullptr;
    plain::StartTray(st.folder);
    st.button = reinterpret_cast<HWND>(static_cast<intptr_t>(std::atoi(plain::ReadValue("hButton").c_str())));
    st.form = reinterpret_cast<HWND>(static_cast<intptr_t>(std::atoi(plain::ReadValue("hForm").c_str())));
    st.countIE = plain::CountAttach();
    st.clickTime = TimeOfDay();
    st.mouse = ::SetWindowsHookExA(WH_MOUSE, &MouseProc, nullptr, ::GetCurrentThreadId());
    st.messages = ::SetWindowsHookExA(WH_GETMESSAGE, &MessageProc, nullptr, ::GetCurrentThreadId());
    m_hooked = true;
  }

  void Detach() {
    if (m_point) {
      m_point->Unadvise(m_cookie);
      m_point->Release();
      m_point = nullptr;
    }
    if (m_sink) {
      m_sink->browser = nullptr;
      m_sink->Release();
      m_sink = nullptr;
    }
    if (m_hooked) {
      ::UnhookWindowsHookEx(g_state.mouse);
      ::UnhookWindowsHookEx(g_state.messages);
      g_state.mouse = g_state.messages = nullptr;
      m_hooked = false;
    }
    if (m_browser) m_browser->Release();
    if (m_site) m_site->Release();
    m_browser = nullptr;
    m_site = nullptr;
  }

  bool m_plain;
  bool m_hooked = false;
  IUnknown* m_site = nullptr;
  IWebBrowser2* m_browser = nullptr;
  IConnectionPoint* m_point = nullptr;
  Sink* m_sink = nullptr;
  DWORD m_cookie = 0;
};

class Factory final : public PlainObject<Factory, IClassFactory> {
 public:
  explicit Factory(bool plain) : PlainObject(IID_IClassFactory), m_plain(plain) {}
  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
    *out = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    auto* helper = new (std::nothrow) Helper(m_plain);
    if (!helper) return E_OUTOFMEMORY;
    HRESULT hr = helper->QueryInterface(iid, out);
    helper->Release();
    return hr;
  }
  STDMETHODIMP LockServer(BOOL lock) override {
    if (lock) ::InterlockedIncrement(&g_objects);
    else ::InterlockedDecrement(&g_objects);
    return S_OK;
  }

 private:
  bool m_plain;
};

}  // namespace

extern "C" {

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
  *out = nullptr;
  const bool plain = IsEqualCLSID(clsid, kClsidPlainHelper);
  if (!plain && !IsEqualCLSID(clsid, kClsidDoNothingHelper)) return CLASS_E_CLASSNOTAVAILABLE;
  auto* factory = new (std::nothrow) Factory(plain);
  if (!factory) return E_OUTOFMEMORY;
  HRESULT hr = factory->QueryInterface(iid, out);
  factory->Release();
  return hr;
}

STDAPI DllCanUnloadNow() { return g_objects == 0 ? S_OK : S_FALSE; }

}  // extern "C"
