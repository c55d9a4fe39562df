// A stand-in browser window of the tab shapes: the frame and its tabs.
#include <algorithm>

#include "HostTab.h"
#include "HostWindow.h"
#include "TabFrame.h"

namespace vexbane::host {

HostWindow::HostWindow(const ShapeOptions& shape, BrowserList* list, std::ostream& out)
    : m_out(out), m_dialog(out), m_shape(shape), m_list(list), m_lines(std::make_unique<SharedLines>()) {
  m_tabFrame = TabFrame::Open(shape);
  if (!m_tabFrame) {
    m_closed = true;
    return;
  }
  ::SetForegroundWindow(m_tabFrame->hwnd());
  NewTab();
}

HRESULT HostWindow::helperResult() const noexcept {
  if (tabbed()) return m_currentTab ? m_currentTab->helperResult() : E_FAIL;
  return m_helperResult;
}

HWND HostWindow::frame() const noexcept { return tabbed() ? m_tabFrame->hwnd() : m_frame.hwnd(); }

HWND HostWindow::page() const noexcept {
  if (tabbed()) return m_currentTab ? m_currentTab->page() : nullptr;
  return m_page.hwnd();
}

HWND HostWindow::dialog() const noexcept {
  if (tabbed()) return m_currentTab && m_currentTab->DialogExists() ? m_currentTab->dialog() : nullptr;
  return m_dialog.hwnd();
}

HostBrowser* HostWindow::browser() const noexcept {
  if (tabbed()) return m_currentTab ? m_currentTab->browser() : nullptr;
  return m_browser.get();
}

IObjectWithSite* HostWindow::helper() const noexcept {
  if (tabbed()) return m_currentTab ? m_currentTab->helper() : nullptr;
  return m_helper.get();
}

bool HostWindow::DialogExists() const noexcept {
  if (tabbed()) return m_currentTab && m_currentTab->DialogExists();
  return m_lastDialog && ::IsWindow(m_lastDialog);
}

HostTab* HostWindow::tab(size_t n) const noexcept {
  return n >= 1 && n <= m_tabs.size() ? m_tabs[n - 1].get() : nullptr;
}

void HostWindow::FlushTabLines() {
  if (m_lines) m_lines->FlushTo(m_out);
}

size_t HostWindow::NewTab() {
  if (!tabbed() || m_closed) return 0;
  auto tab = std::make_unique<HostTab>(m_tabFrame->hwnd(), m_shape, m_list, *m_lines);
  if (!tab->started()) return 0;
  if (tab->browser()) m_list->emplace_back(static_cast<IDispatch*>(static_cast<IWebBrowser2*>(tab->browser())));
  m_tabs.push_back(std::move(tab));
  SelectTab(m_tabs.size());
  return m_tabs.size();
}

bool HostWindow::SelectTab(size_t n) {
  HostTab* chosen = tab(n);
  if (!chosen || chosen->closed()) return false;
  for (auto& t : m_tabs)
    if (!t->closed() && t.get() != chosen) t->Show(false);
  chosen->Show(true);
  m_currentTab = chosen;
  ::SetForegroundWindow(m_tabFrame->hwnd());
  return true;
}

// Whether the tab is still listed while its site goes is not known of Internet Explorer; the
// shape without OnQuit takes it off the list first, the harder case for a recount, and the
// shape with OnQuit after, as IE 6 does with a window.
void HostWindow::CloseTabNumber(size_t n) {
  HostTab* t = tab(n);
  if (!t || t->closed()) return;
  IDispatch* listed = t->browser() ? static_cast<IWebBrowser2*>(t->browser()) : nullptr;
  auto unlist = [this, listed] {
    m_list->erase(std::remove_if(m_list->begin(), m_list->end(), [listed](const auto& p) { return p.get() == listed; }),
                  m_list->end());
  };
  if (!m_shape.tabQuitEvent) unlist();
  t->Close(m_shape.tabQuitEvent);
  if (m_shape.tabQuitEvent) unlist();
  FlushTabLines();
}

void HostWindow::CloseTab() {
  if (!tabbed() || !m_currentTab) return;
  for (size_t n = 1; n <= m_tabs.size(); ++n)
    if (m_tabs[n - 1].get() == m_currentTab) CloseTabNumber(n);
  m_currentTab = nullptr;
  for (size_t n = 1; n <= m_tabs.size(); ++n)
    if (!m_tabs[n - 1]->closed()) {
      SelectTab(n);
      return;
    }
  Quit(std::vector<size_t>());
}

void HostWindow::Quit(const std::vector<size_t>& order) {
  if (!tabbed()) return Quit();
  if (m_closed && !m_tabFrame) return;
  for (size_t n : order) CloseTabNumber(n);
  for (size_t n = 1; n <= m_tabs.size(); ++n) CloseTabNumber(n);
  m_currentTab = nullptr;
  m_tabFrame.reset();  // the frame goes after its last tab
  m_closed = true;
}

void HostWindow::QuitTogether(const std::vector<size_t>& together) {
  if (!tabbed()) return Quit();
  if (m_closed) return;
  std::vector<HostTab*> closing;
  std::vector<IDispatch*> listed;
  for (size_t n : together) {
    HostTab* t = tab(n);
    if (!t || t->closed() || std::find(closing.begin(), closing.end(), t) != closing.end()) continue;
    closing.push_back(t);
    if (t->browser()) listed.push_back(static_cast<IWebBrowser2*>(t->browser()));
  }
  auto unlist = [this, &listed] {
    m_list->erase(std::remove_if(m_list->begin(), m_list->end(),
                                 [&listed](const auto& p) {
                                   return std::find(listed.begin(), listed.end(), p.get()) != listed.end();
                                 }),
                  m_list->end());
  };
  win::UniqueHandle go(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
  if (!go) return;
  // As one tab's close does: off the list before the end without OnQuit, after it with.
  if (!m_shape.tabQuitEvent) unlist();
  std::vector<HostTab*> started;
  for (HostTab* t : closing)
    if (t->CloseWhen(go.get(), m_shape.tabQuitEvent)) started.push_back(t);
  ::SetEvent(go.get());
  for (HostTab* t : started) t->WaitClosed();
  if (m_shape.tabQuitEvent) unlist();
  if (std::find(closing.begin(), closing.end(), m_currentTab) != closing.end()) m_currentTab = nullptr;
  FlushTabLines();
  Quit(std::vector<size_t>());
}

void HostWindow::TabNavigate(const std::string& url) {
  if (m_currentTab) m_currentTab->Navigate(url);
  FlushTabLines();
}

void HostWindow::TabTitle(const std::string& text) {
  if (m_currentTab) m_currentTab->Title(text);
  FlushTabLines();
}

bool HostWindow::TabNewWindow(const std::string& url, long flags) {
  const bool cancelled = m_currentTab && m_currentTab->NewWindow(url, flags, m_order);
  FlushTabLines();
  return cancelled;
}

void HostWindow::TabSetFullName(const std::string& path) {
  if (m_currentTab) m_currentTab->SetFullName(path);
}

void HostWindow::TabOpenDialog() {
  if (m_currentTab) m_currentTab->OpenDialog();
  FlushTabLines();
}

void HostWindow::TabCloseDialog() {
  if (m_currentTab) m_currentTab->CloseDialog();
  FlushTabLines();
}

}  // namespace vexbane::host
