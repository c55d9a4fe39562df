// CVexbaneIEDLL: attach to a browser window and detach from it.
#include <string>

#include "BrowserProps.h"
#include "CVexbaneIEDLL.h"
#include "CountIELock.h"
#include "Guids.h"
#include "Hooks.h"
#include "ModVexbaneIE.h"
#include "TrayProgram.h"
#include "core/newwindow_host.h"
#include "core/settings.h"
#include "win/file.h"
#include "win/window.h"

namespace vexbane::ext {

// Each step copes with its own failure and the next one runs.
void CVexbaneIEDLL::Attach(IUnknown* site) noexcept {
  m_site = win::ComPtr<IUnknown>(site);
  // A thread without a state of its own: the helper stands aside there, as if not loaded. It
  // hears no event, starts and counts nothing, and hooks nothing.
  ThreadState* state = CurrentThreadState();
  if (!state) return;
  ThreadState& st = *state;
  ConnectBrowser();
  try {
    st.strAppPath = win::ModuleFolder(win::ThisModule());
  } catch (...) {
  }
  // The hook handles are the thread's one shared set (other frame objects of this thread may
  // rely on them), so only the frame is forgotten here.
  st.lngFrameHwnd = nullptr;
  if (!HostIsBrowserFrame()) return;
  st.lngFrameHwnd = ReadBrowserHwnd(m_ie.get());
  m_needHandles = true;
  m_firstNavigate = true;
  st.lngFormHwnd = nullptr;
  st.lngButtonHwnd = nullptr;
  StartTrayProgram(st.strAppPath);
  ReadTrayHandles(st);
  CountThisWindow();
  st.lngClickTime = TimeOfDayMs();
  InstallHooks(st);
  m_holdsHooks = true;
  m_attachedToFrame = true;
  m_quit = false;
  try {
    st.blockedWindows.AddOpener(st.lngFrameHwnd, this);
  } catch (...) {
  }
}

void CVexbaneIEDLL::ConnectBrowser() noexcept {
  if (!m_site) return;
  if (FAILED(m_site->QueryInterface(kIidIWebBrowser2, m_ie.put_void()))) return;
  win::ComPtr<EventSink> sink;
  sink.attach(EventSink::Create(this));
  if (!sink || FAILED(sink->Connect(m_ie.get()))) return;
  m_sink = sink;
}

bool CVexbaneIEDLL::HostIsBrowserFrame() const noexcept {
  HWND hwnd = ReadBrowserHwnd(m_ie.get());
  try {
    return newwindow::IsBrowserFrameClass(WindowClassName(hwnd, 500));
  } catch (...) {
    return false;
  }
}

void CVexbaneIEDLL::ReadTrayHandles(ThreadState& st) noexcept {
  try {
    st.lngButtonHwnd = HandleFromText(ReadRegValue(settings::kProductKeyPath, settings::kHButton), st.lngButtonHwnd);
    st.lngFormHwnd = HandleFromText(ReadRegValue(settings::kProductKeyPath, settings::kHForm), st.lngFormHwnd);
  } catch (...) {
  }
}

void CVexbaneIEDLL::CountThisWindow() noexcept {
  try {
    CountIELock lock;
    m_countIE = newwindow::CountAfterAttach(m_countIE, ReadRegValue(settings::kProductKeyPath, settings::kCountIE));
    WriteRegValue(settings::kCountIE, std::to_string(m_countIE));
  } catch (...) {
  }
}

// Quit, detach and destruction all end a frame object's use of the thread's hooks; whichever
// comes first gives the share back, and the others find nothing left to give. The share is the
// object's own: what other objects of the thread attached to since (a non-frame host clears
// the thread's frame handle) never decides it.
void CVexbaneIEDLL::ReleaseHookShare() noexcept {
  if (!m_holdsHooks) return;
  m_holdsHooks = false;
  if (ThreadState* st = CurrentThreadState()) ReleaseHooks(*st);
}

// The browser and the helper must not keep each other alive: the sink is unadvised and the
// site released. A frame object that leaves without a quit event gives up its share of the
// thread's hooks; the count is left to the quit event's recount.
void CVexbaneIEDLL::Detach() noexcept {
  if (m_sink) {
    m_sink->Disconnect();
    m_sink.reset();
  }
  m_ie.reset();
  m_site.reset();
  ReleaseHookShare();
  if (ThreadState* st = CurrentThreadState()) st->blockedWindows.RemoveOpener(this);
  m_attachedToFrame = false;
}

}  // namespace vexbane::ext
