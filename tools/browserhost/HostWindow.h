// One stand-in browser window: the frame, its page, an optional HTML dialog, the browser
// object and the helper object that the browser created for it.
#pragma once
#include <windows.h>
#include <ocidl.h>

#include <memory>
#include <ostream>
#include <string>

#include "HostBrowser.h"
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

class HostWindow {
 public:
  // Creates the windows and the browser object, then the helper by its CLSID, and hands it the
  // browser as its site. `helperResult` tells how creating the helper went.
  HostWindow(const std::string& frameClass, std::ostream& out);
  ~HostWindow();
  HostWindow(const HostWindow&) = delete;
  HostWindow& operator=(const HostWindow&) = delete;

  HRESULT helperResult() const noexcept { return m_helperResult; }
  HWND frame() const noexcept { return m_frame.hwnd(); }
  HWND page() const noexcept { return m_page.hwnd(); }
  HWND dialog() const noexcept { return m_dialog.hwnd(); }
  HostBrowser* browser() const noexcept { return m_browser.get(); }
  IObjectWithSite* helper() const noexcept { return m_helper.get(); }
  bool closed() const noexcept { return m_closed; }

  void Navigate(const std::string& url);
  void Title(const std::string& text);
  // A request for a new window to `url`, raised as the browser's event order says. Returns true
  // when the helper cancelled the new window.
  bool NewWindow(const std::string& url = kDefaultPopupUrl);
  void OpenDialog();
  void CloseDialog();
  // Whether the last dialog opened is still a window, whoever closed it.
  bool DialogExists() const noexcept { return m_lastDialog && ::IsWindow(m_lastDialog); }
  // The browser's quit: OnQuit to the helper, then the site is taken away and the frame goes.
  void Quit();

 private:
  std::ostream& m_out;
  FrameWindow m_frame;
  PageWindow m_page;
  DialogWindow m_dialog;
  win::ComPtr<HostBrowser> m_browser;
  win::ComPtr<IObjectWithSite> m_helper;
  HRESULT m_helperResult = E_FAIL;
  HWND m_lastDialog = nullptr;
  bool m_closed = false;
};

}  // namespace vexbane::host
