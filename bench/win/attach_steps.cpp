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
#include "plain_calls.h"
#include "plain_com.h"
#include "core/newwindow_host.h"
#include "core/settings.h"
#include "win/file.h"
#include "win/window.h"

namespace vexbane::bench {
namespace {

struct NoOwner final : ext::BrowserEvents {
  void OnBeforeNavigate2() noexcept override {}
  void OnTitleChange() noexcept override {}
  void OnNewWindow2(VARIANT_BOOL*) noexcept override {}
  void OnNewWindow3(VARIANT_BOOL*, BSTR, BSTR, DWORD) noexcept override {}
  void OnQuit() noexcept override {}
};
NoOwner g_noOwner;

// The plain event sink: IDispatch that answers every event with S_OK.
class PlainSink final : public PlainDispatch<PlainSink> {
 public:
  PlainSink() : PlainDispatch(ext::kDiidDWebBrowserEvents2) {}
  STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override { return S_OK; }
};

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
                   [&ctx] { plain::StartTray(ctx.folder); }});
  steps.push_back({"tray handles read",
                   [] {
                     ext::ThreadState* state = ext::CurrentThreadState();
                     if (!state) return;
                     ext::ThreadState& st = *state;
                     st.lngButtonHwnd = ext::HandleFromText(ext::ReadRegValue(settings::kProductKeyPath, settings::kHButton), st.lngButtonHwnd);
                     st.lngFormHwnd = ext::HandleFromText(ext::ReadRegValue(settings::kProductKeyPath, settings::kHForm), st.lngFormHwnd);
                   },
                   [] {
                     std::atoi(plain::ReadValue("hButton").c_str());
                     std::atoi(plain::ReadValue("hForm").c_str());
                   }});
  steps.push_back({"count read, added to, written",
                   [] {
                     static int16_t count = 0;
                     ext::CountIELock lock;
                     count = newwindow::CountAfterAttach(count, ext::ReadRegValue(settings::kProductKeyPath, settings::kCountIE));
                     ext::WriteRegValue(settings::kCountIE, std::to_string(count));
                   },
                   [] { plain::CountAttach(); }});
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
