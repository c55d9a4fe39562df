// One stand-in browser window.
#include "HostWindow.h"

#include "HostTab.h"
#include "TabFrame.h"

#include "core/product_ids.h"
#include "win/guid.h"

namespace vexbane::host {

HWND PageWindow::Create(HWND parent) {
  RECT rc = {};
  ::GetClientRect(parent, &rc);
  return CreateWindowFor(kPageClass, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, rc.right, rc.bottom, parent);
}

HWND DialogWindow::Create(HWND owner) {
  return CreateWindowFor(kDialogClass, "Web Page Dialog", WS_POPUP | WS_CAPTION | WS_VISIBLE, 0, 150, 150, 240, 160,
                         owner);
}

LRESULT DialogWindow::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
  if (msg == WM_DESTROY) m_out << "dialog closed" << std::endl;
  return Default(msg, wParam, lParam);
}

HWND FrameWindow::Create(const std::string& className) {
  return CreateWindowFor(className.c_str(), "Stand-in Browser", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 40, 40, 600,
                         420, nullptr);
}

HostWindow::HostWindow(const std::string& frameClass, std::ostream& out) : m_out(out), m_dialog(out) {
  m_frame.Create(frameClass);
  m_page.Create(m_frame.hwnd());
  ::SetForegroundWindow(m_frame.hwnd());
  ::UpdateWindow(m_frame.hwnd());
  m_browser.attach(HostBrowser::Create(m_frame.hwnd(), kBrowserFullName));
  if (!m_browser) return;
  const GUID clsid = win::ToGuid(ids::kClsidVexbaneHelper);
  m_helperResult = ::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IObjectWithSite, m_helper.put_void());
  if (SUCCEEDED(m_helperResult)) m_helper->SetSite(static_cast<IWebBrowser2*>(m_browser.get()));
}

HostWindow::~HostWindow() {
  if (tabbed()) {
    Quit(std::vector<size_t>());
    return;
  }
  if (m_helper) m_helper->SetSite(nullptr);
  m_helper.reset();
  m_browser.reset();
}

// The tab shapes send each of these to the current tab (TabbedWindow.cpp).
void HostWindow::Navigate(const std::string& url) {
  if (tabbed()) return TabNavigate(url);
  m_browser->FireBeforeNavigate2(url);
}

void HostWindow::Title(const std::string& text) {
  if (tabbed()) return TabTitle(text);
  m_browser->FireTitleChange(text);
}

void HostWindow::FocusPage(bool focus) {
  if (tabbed()) {
    HostTab* tab = m_currentTab;
    if (tab) tab->Run([tab, focus] { ::SetFocus(focus ? tab->page() : nullptr); });
    return;
  }
  ::SetFocus(focus ? m_page.hwnd() : nullptr);
}

bool HostWindow::NewWindow(const std::string& url, long flags) {
  if (tabbed()) return TabNewWindow(url, flags);
  // A browser raises a request's events while it handles a message of its own (the click, the
  // script's timer), as a tab's thread does with the task it takes: one taken here first.
  ::PostMessageA(frame(), WM_NULL, 0, 0);
  MSG taken;
  ::PeekMessageA(&taken, frame(), WM_NULL, WM_NULL, PM_REMOVE);
  return m_browser->RequestNewWindow(url, flags);
}

void HostWindow::SetEventOrder(EventOrder order) noexcept {
  m_order = order;
  if (m_browser) m_browser->SetEventOrder(order);
}

void HostWindow::SetFullName(const std::string& path) {
  if (tabbed()) return TabSetFullName(path);
  m_browser->SetFullName(path);
}

void HostWindow::OpenDialog() {
  if (tabbed()) return TabOpenDialog();
  if (!m_dialog.open()) m_lastDialog = m_dialog.Create(m_frame.hwnd());
}

void HostWindow::CloseDialog() {
  if (tabbed()) return TabCloseDialog();
  if (m_dialog.open()) ::DestroyWindow(m_dialog.hwnd());
}

void HostWindow::Quit() {
  if (tabbed()) return Quit(std::vector<size_t>());
  if (m_closed) return;
  m_browser->FireOnQuit();
  if (m_helper) m_helper->SetSite(nullptr);
  m_helper.reset();
  CloseDialog();
  if (m_page.hwnd()) ::DestroyWindow(m_page.hwnd());
  if (m_frame.hwnd()) ::DestroyWindow(m_frame.hwnd());
  m_closed = true;
}

}  // namespace vexbane::host
