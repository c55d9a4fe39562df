// The attach's steps, as the product runs them and plainly.
#include "attach_steps.h"

#include <ocidl.h>

#include <cstdlib>
#include <cstring>

#include "BrowserEvents.h"
#include "BrowserProps.h"
#include "CountIELock.h"
#include "EventSink.h"
#include "Guids.h"
#include "Hooks.h"
#include "ModVexbaneIE.h"
#include "ThreadState.h"
#include "TrayProgram.h"
#include "core/newwindow_host.h"
#include "core/settings.h"
#include "win/file.h"
#include "win/window.h"

namespace vexbane::bench {
namespace {

const char kKey[] = "Software\\Halvern\\Vexbane";

struct NoOwner final : ext::BrowserEvents {
  void OnBeforeNavigate2() noexcept override {}
  void OnTitleChange() noexcept override {}
  void OnNewWindow2(VARIANT_BOOL*) noexcept override {}
  void OnNewWindow3(VARIANT_BOOL*, BSTR, BSTR) noexcept override {}
  void OnQuit() noexcept override {}
};
NoOwner g_noOwner;

// The plain event sink: IDispatch that answers every event with S_OK.
class PlainSink final : public IDispatch {
 public:
  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, ext::kDiidDWebBrowserEvents2)) {
      *out = static_cast<IDispatch*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ::InterlockedIncrement(&m_refs); }
  STDMETHODIMP_(ULONG) Release() override {
    LONG n = ::InterlockedDecrement(&m_refs);
    if (n == 0) delete this;
    return n;
  }
  STDMETHODIMP GetTypeInfoCount(UINT* n) override {
    *n = 0;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override { return S_OK; }

 private:
  volatile LONG m_refs = 1;
};

std::string PlainRead(const char* name) {
  HKEY key = nullptr;
  if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return "1";
  char buffer[255];
  DWORD size = sizeof buffer, type = 0;
  LONG rc = ::RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
  ::RegCloseKey(key);
  if (rc != ERROR_SUCCESS || size == 0) return "1";
  return std::string(buffer, size - 1);
}

void PlainWrite(const char* name, const std::string& text) {
  HKEY key = nullptr;
  if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
  ::RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()), static_cast<DWORD>(text.size() + 1));
  ::RegCloseKey(key);
}

HHOOK g_mouse = nullptr, g_messages = nullptr;
LRESULT CALLBACK PlainMouse(int c, WPARAM w, LPARAM l) { return ::CallNextHookEx(g_mouse, c, w, l); }
LRESULT CALLBACK PlainMessages(int c, WPARAM w, LPARAM l) { return ::CallNextHookEx(g_messages, c, w, l); }

}  // namespace

std::vector<AttachStep> AttachSteps(AttachContext& ctx) {
  std::vector<AttachStep> steps;
  steps.push_back({"events connected and disconnected",
                   [&ctx] {
                     win::ComPtr<IWebBrowser2> ie;
                     ctx.browser->QueryInterface(ext::kIidIWebBrowser2, ie.put_void());
                     win::ComPtr<ext::EventSink> sink;
                     sink.attach(ext::EventSink::Create(&g_noOwner));
                     sink->Connect(ie.get());
                     sink->Disconnect();
                   },
                   [&ctx] {
                     IWebBrowser2* ie = nullptr;
                     ctx.browser->QueryInterface(ext::kIidIWebBrowser2, reinterpret_cast<void**>(&ie));
                     IConnectionPointContainer* c = nullptr;
                     ie->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&c));
                     IConnectionPoint* p = nullptr;
                     c->FindConnectionPoint(ext::kDiidDWebBrowserEvents2, &p);
                     auto* sink = new PlainSink;
                     DWORD cookie = 0;
                     p->Advise(sink, &cookie);
                     p->Unadvise(cookie);
                     sink->Release();
                     p->Release();
                     c->Release();
                     ie->Release();
                   }});
  steps.push_back({"own folder",
                   [] {
                     try {
                       if (ext::ThreadState* st = ext::CurrentThreadState())
                         st->strAppPath = win::ModuleFolder(win::ThisModule());
                     } catch (...) {
                     }
                   },
                   [] {
                     char path[MAX_PATH];
                     ::GetModuleFileNameA(win::ThisModule(), path, MAX_PATH);
                     if (char* slash = std::strrchr(path, '\\')) *slash = '\0';
                   }});
  steps.push_back({"frame check",
                   [&ctx] {
                     HWND hwnd = ext::ReadBrowserHwnd(ctx.browser);
                     newwindow::IsBrowserFrameClass(ext::WindowClassName(hwnd, 500));
                   },
                   [&ctx] {
                     SHANDLE_PTR hwnd = 0;
                     ctx.browser->get_HWND(&hwnd);
                     char name[500];
                     ::GetClassNameA(reinterpret_cast<HWND>(hwnd), name, sizeof name);
                     ::lstrcmpiA(name, "IEFrame");
                   }});
  steps.push_back({"tray program started", [&ctx] { ext::StartTrayProgram(ctx.folder); },
                   [&ctx] {
                     std::string program = ctx.folder + "\\VexbaneTray.exe";
                     std::string commandLine = "\"" + program + "\"";
                     STARTUPINFOA si = {sizeof si};
                     si.dwFlags = STARTF_USESHOWWINDOW;
                     si.wShowWindow = SW_SHOWMINIMIZED;
                     PROCESS_INFORMATION pi = {};
                     if (::CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                          ctx.folder.c_str(), &si, &pi)) {
                       ::CloseHandle(pi.hProcess);
                       ::CloseHandle(pi.hThread);
                     }
                   }});
  steps.push_back({"tray handles read",
                   [] {
                     ext::ThreadState* state = ext::CurrentThreadState();
                     if (!state) return;
                     ext::ThreadState& st = *state;
                     st.lngButtonHwnd = ext::HandleFromText(ext::ReadRegValue(settings::kProductKeyPath, settings::kHButton), st.lngButtonHwnd);
                     st.lngFormHwnd = ext::HandleFromText(ext::ReadRegValue(settings::kProductKeyPath, settings::kHForm), st.lngFormHwnd);
                   },
                   [] {
                     std::atoi(PlainRead("hButton").c_str());
                     std::atoi(PlainRead("hForm").c_str());
                   }});
  steps.push_back({"count read, added to, written",
                   [] {
                     static int16_t count = 0;
                     ext::CountIELock lock;
                     count = newwindow::CountAfterAttach(count, ext::ReadRegValue(settings::kProductKeyPath, settings::kCountIE));
                     ext::WriteRegValue(settings::kCountIE, std::to_string(count));
                   },
                   [] {
                     HANDLE mutex = ::CreateMutexA(nullptr, FALSE, "VexbaneCountIE");
                     if (mutex) ::WaitForSingleObject(mutex, 2000);
                     PlainWrite("CountIE", std::to_string(std::atoi(PlainRead("CountIE").c_str()) + 1));
                     if (mutex) {
                       ::ReleaseMutex(mutex);
                       ::CloseHandle(mutex);
                     }
                   }});
  steps.push_back({"hooks installed and removed",
                   [] {
                     ext::ThreadState* state = ext::CurrentThreadState();
                     if (!state) return;
                     ext::ThreadState& st = *state;
                     st.lngClickTime = ext::TimeOfDayMs();
                     ext::InstallHooks(st);
                     ext::ReleaseHooks(st);
                   },
                   [] {
                     SYSTEMTIME t;
                     ::GetLocalTime(&t);
                     g_mouse = ::SetWindowsHookExA(WH_MOUSE, &PlainMouse, nullptr, ::GetCurrentThreadId());
                     g_messages = ::SetWindowsHookExA(WH_GETMESSAGE, &PlainMessages, nullptr, ::GetCurrentThreadId());
                     ::UnhookWindowsHookEx(g_mouse);
                     ::UnhookWindowsHookEx(g_messages);
                   }});
  return steps;
}

}  // namespace vexbane::bench
