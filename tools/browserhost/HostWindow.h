// One stand-in browser window: the frame, its page, an optional HTML dialog, the browser
// object and the helper object that the browser created for it.
#pragma once
#include <windows.h>
#include <ocidl.h>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "HostBrowser.h"
#include "HostShape.h"
#include "HostShellWindows.h"
#include "win/com_ptr.h"
#include "win/window.h"

namespace vexbane::host {

inline constexpr char kFrameClass[] = "IEFrame";
inline constexpr char kPageClass[] = "Internet Explorer_Server";
inline constexpr char kDialogClass[] = "Internet Explorer_TridentDlgFrame";
inline constexpr char kDefaultPopupUrl[] = "http://popup.example/window.html";
inline constexpr char kBrowserFullName[] = "C:\\Program Files\\Internet Explorer\\IEXPLORE.EXE";

class PageWindow final : public win::Window {
 public:
  HWND Create(HWND parent);
};

// An HTML dialog: a top-level pop-up owned by the frame, so GetParent names the frame.
class DialogWindow final : public win::Window {
 public:
  explicit DialogWindow(std::ostream& out) : m_out(out) {}
  HWND Create(HWND owner);
  bool open() const noexcept { return hwnd() != nullptr; }

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) noexcept override;

 private:
  std::ostream& m_out;
};

class FrameWindow final : public win::Window {
 public:
  HWND Create(const std::string& className);
};

class HostTab;
class SharedLines;
class TabFrame;

class HostWindow {
 public:
  // Creates the windows and the browser object, then the helper by its CLSID, and hands it the
  // browser as its site. `helperResult` tells how creating the helper went.
  HostWindow(const std::string& frameClass, std::ostream& out);
  // A window of the tab shapes (TabbedWindow.cpp): its frame on a thread or in a process of its
  // own and one tab; the tabs' browsers are listed in `list` while they are open.
  HostWindow(const ShapeOptions& shape, BrowserList* list, std::ostream& out);
  ~HostWindow();
  HostWindow(const HostWindow&) = delete;
  HostWindow& operator=(const HostWindow&) = delete;

  // In the tab shapes the page, dialog, browser and helper are the current tab's.
  HRESULT helperResult() const noexcept;
  HWND frame() const noexcept;
  HWND page() const noexcept;
  HWND dialog() const noexcept;
  HostBrowser* browser() const noexcept;
  IObjectWithSite* helper() const noexcept;
  bool closed() const noexcept { return m_closed; }
  // Where the browser's own messages (0x0491, WM_USER) go: the thread of the page shown.
  HWND messageTarget() const noexcept { return tabbed() ? page() : frame(); }
  void SetFullName(const std::string& path);
  // Gives the keyboard focus to the page, or takes it away (in the tab shapes from the tab's own
  // thread).
  void FocusPage(bool focus);

  // The tab shapes (TabbedWindow.cpp).
  bool tabbed() const noexcept { return m_tabFrame != nullptr; }
  HostTab* currentTab() const noexcept { return m_currentTab; }
  // The n-th tab opened (from 1), closed or not; null when there is none.
  HostTab* tab(size_t n) const noexcept;
  size_t tabCount() const noexcept { return m_tabs.size(); }
  const TabFrame* tabFrame() const noexcept { return m_tabFrame.get(); }
  // Opens another tab and shows it; its number (from 1), or 0 when it could not be opened.
  size_t NewTab();
  // Shows the n-th tab and makes it current; false when it is closed or does not exist.
  bool SelectTab(size_t n);
  // Closes the current tab as the user's click on its close box does; the window closes with
  // its last tab. The next open tab becomes current.
  void CloseTab();
  // The window closes: its tabs are torn down one by one, each on its own thread, in `order`
  // (tab numbers from 1; the tabs not named follow in the order they were opened).
  void Quit(const std::vector<size_t>& order);
  // Tabs `together` (numbers from 1) quit at the same moment: each tab's thread waits for one
  // event, which is then set; the window's other tabs and the frame follow as with Quit.
  void QuitTogether(const std::vector<size_t>& together);
  // Report lines the tabs' threads wrote, into the window's output.
  void FlushTabLines();

  void Navigate(const std::string& url);
  void Title(const std::string& text);
  // A request for a new window to `url`, raised as the browser's event order says. Returns true
  // when the helper cancelled the new window.
  bool NewWindow(const std::string& url = kDefaultPopupUrl, long flags = kNewWindowFlags);
  void OpenDialog();
  void CloseDialog();
  // Whether the last dialog opened is still a window, whoever closed it.
  bool DialogExists() const noexcept;
  // The browser's quit: OnQuit to the helper, then the site is taken away and the frame goes.
  void Quit();
  // The new-window events of this window's browsers (its tabs' too).
  void SetEventOrder(EventOrder order) noexcept;

 private:
  void CloseTabNumber(size_t n);
  void TabNavigate(const std::string& url);
  void TabTitle(const std::string& text);
  bool TabNewWindow(const std::string& url, long flags);
  void TabSetFullName(const std::string& path);
  void TabOpenDialog();
  void TabCloseDialog();

  std::ostream& m_out;
  FrameWindow m_frame;
  PageWindow m_page;
  DialogWindow m_dialog;
  win::ComPtr<HostBrowser> m_browser;
  win::ComPtr<IObjectWithSite> m_helper;
  HRESULT m_helperResult = E_FAIL;
  HWND m_lastDialog = nullptr;
  bool m_closed = false;

  ShapeOptions m_shape;
  BrowserList* m_list = nullptr;
  std::unique_ptr<SharedLines> m_lines;
  std::unique_ptr<TabFrame> m_tabFrame;
  std::vector<std::unique_ptr<HostTab>> m_tabs;
  HostTab* m_currentTab = nullptr;
  EventOrder m_order = EventOrder::NewWindow2Only;
};

}  // namespace vexbane::host
