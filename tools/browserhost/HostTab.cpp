// One tab of the tab shapes, on its own thread.
#include "HostTab.h"

#include <objbase.h>

#include "TabFrame.h"
#include "core/product_ids.h"
#include "win/guid.h"

namespace vexbane::host {
namespace {

// A task posted to a tab's thread; lParam points to a RunTask.
constexpr UINT kRunTaskMessage = WM_APP + 0x31;
constexpr DWORD kTabStartMs = 10000;
constexpr DWORD kTaskMs = 30000;

struct RunTask {
  const std::function<void()>* task;
  HANDLE done;
};

}  // namespace

struct HostTab::PendingClose {
  std::function<void()> task;
  win::UniqueHandle done;
  RunTask run = {};
};

void SharedLines::Add(const std::string& text) {
  ::EnterCriticalSection(&m_lock);
  try {
    m_text += text;
  } catch (...) {
  }
  ::LeaveCriticalSection(&m_lock);
}

void SharedLines::FlushTo(std::ostream& out) {
  std::string text;
  ::EnterCriticalSection(&m_lock);
  text.swap(m_text);
  ::LeaveCriticalSection(&m_lock);
  if (!text.empty()) out << text << std::flush;
}

HWND LayerWindow::Create(const char* className, HWND parent) {
  RECT rc = {};
  ::GetClientRect(parent, &rc);
  return CreateWindowFor(className, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 0, rc.right, rc.bottom,
                         parent);
}

HostTab::HostTab(HWND frame, const ShapeOptions& shape, const BrowserList* list, SharedLines& lines)
    : m_frame(frame), m_shape(shape), m_list(list), m_lines(lines) {
  m_ready.reset(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
  if (!m_ready) return;
  DWORD id = 0;
  m_thread.reset(::CreateThread(nullptr, 0, &ThreadMain, this, 0, &id));
  if (!m_thread) return;
  HANDLE both[2] = {m_ready.get(), m_thread.get()};
  // Either the tab is ready or its thread ended early.
  for (DWORD waited = 0; waited < kTabStartMs; waited += 50) {
    if (::WaitForMultipleObjects(2, both, FALSE, 0) != WAIT_TIMEOUT) break;
    WaitPumping(m_ready.get(), 50);
  }
  if (::WaitForSingleObject(m_ready.get(), 0) == WAIT_OBJECT_0) m_threadId = id;
}

HostTab::~HostTab() {
  if (!m_closed) Close(false);
}

HWND HostTab::top() const noexcept { return m_frameTab.hwnd() ? m_frameTab.hwnd() : m_tabWindow.hwnd(); }

DWORD WINAPI HostTab::ThreadMain(void* self) {
  auto* tab = static_cast<HostTab*>(self);
  ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  {
    // The helper asks its own apartment for the shell window list: the tab's registration,
    // over the one list of every tab of this process.
    ShellWindowsRegistration shellWindows(tab->m_list, CLSCTX_INPROC_SERVER);
    std::shared_ptr<void> setup;
    if (tab->m_shape.tabThreadSetup) {
      try {
        setup = tab->m_shape.tabThreadSetup();
      } catch (...) {
      }
    }
    tab->Build();
    ::SetEvent(tab->m_ready.get());
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
      if (!msg.hwnd && msg.message == kRunTaskMessage) {
        auto* run = reinterpret_cast<RunTask*>(msg.lParam);
        try {
          (*run->task)();
        } catch (...) {
        }
        ::SetEvent(run->done);
        continue;
      }
      ::TranslateMessage(&msg);
      ::DispatchMessageA(&msg);
    }
  }
  ::CoUninitialize();
  return 0;
}

// On the tab's thread.
void HostTab::Build() {
  HWND parent = m_frame;
  if (m_shape.shape == Shape::IE8) parent = m_frameTab.Create(kFrameTabClass, parent);
  m_tabWindow.Create(kTabWindowClass, parent);
  m_docView.Create(kDocViewClass, m_tabWindow.hwnd());
  m_page.Create(m_docView.hwnd());
  m_browser.attach(HostBrowser::Create(m_frame, kBrowserFullName));
  if (!m_browser) return;
  const GUID clsid = win::ToGuid(ids::kClsidVexbaneHelper);
  m_helperResult = ::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IObjectWithSite, m_helper.put_void());
  if (SUCCEEDED(m_helperResult)) m_helper->SetSite(static_cast<IWebBrowser2*>(m_browser.get()));
}

void HostTab::Run(const std::function<void()>& task) {
  if (!m_threadId || m_closed) return;
  win::UniqueHandle done(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
  if (!done) return;
  RunTask run = {&task, done.get()};
  if (!::PostThreadMessageA(m_threadId, kRunTaskMessage, 0, reinterpret_cast<LPARAM>(&run))) return;
  WaitPumping(done.get(), kTaskMs);
}

void HostTab::Show(bool selected) {
  Run([this, selected] { ::ShowWindow(top(), selected ? SW_SHOW : SW_HIDE); });
}

void HostTab::Navigate(const std::string& url) {
  Run([this, &url] { m_browser->FireBeforeNavigate2(url); });
}

void HostTab::Title(const std::string& text) {
  Run([this, &text] { m_browser->FireTitleChange(text); });
}

bool HostTab::NewWindow(const std::string& url, long flags, EventOrder order) {
  bool cancelled = false;
  Run([this, &cancelled, &url, flags, order] {
    m_browser->SetEventOrder(order);
    cancelled = m_browser->RequestNewWindow(url, flags);
  });
  return cancelled;
}

void HostTab::SetFullName(const std::string& path) {
  Run([this, &path] { m_browser->SetFullName(path); });
}

void HostTab::OpenDialog() {
  Run([this] {
    if (!m_dialog.open()) m_lastDialog = m_dialog.Create(m_frame);
  });
}

void HostTab::CloseDialog() {
  Run([this] {
    if (m_dialog.open()) ::DestroyWindow(m_dialog.hwnd());
  });
}

void HostTab::Teardown(bool fireOnQuit) {
  if (fireOnQuit && m_browser) m_browser->FireOnQuit();
  if (m_helper) m_helper->SetSite(nullptr);
  m_helper.reset();
  if (m_dialog.open()) ::DestroyWindow(m_dialog.hwnd());
  if (HWND top = this->top()) ::DestroyWindow(top);
  m_browser.reset();
  ::PostQuitMessage(0);
}

void HostTab::Close(bool fireOnQuit) {
  if (m_closed) return;
  Run([this, fireOnQuit] { Teardown(fireOnQuit); });
  m_closed = true;
  if (m_thread) WaitPumping(m_thread.get(), kTaskMs);
}

bool HostTab::CloseWhen(HANDLE go, bool fireOnQuit) {
  if (!m_threadId || m_closed) return false;
  auto pending = std::make_unique<PendingClose>();
  pending->done.reset(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
  if (!pending->done) return false;
  pending->task = [this, go, fireOnQuit] {
    ::WaitForSingleObject(go, kTaskMs);
    Teardown(fireOnQuit);
  };
  pending->run = {&pending->task, pending->done.get()};
  if (!::PostThreadMessageA(m_threadId, kRunTaskMessage, 0, reinterpret_cast<LPARAM>(&pending->run))) return false;
  m_pendingClose = std::move(pending);
  m_closed = true;
  return true;
}

void HostTab::WaitClosed() {
  if (m_thread) WaitPumping(m_thread.get(), kTaskMs);
}

}  // namespace vexbane::host
