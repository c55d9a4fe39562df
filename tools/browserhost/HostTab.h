// One tab of the tab shapes: a browser object on a thread of its own, with the windows
// TabWindowClass -> Shell DocObject View -> Internet Explorer_Server below the frame (IE 8 puts
// "Frame Tab" above them), the helper the browser created for it, and the tab's own shell
// window list registration. Everything of the tab is made, used and ended on its thread.
#pragma once
#include <windows.h>
#include <ocidl.h>

#include <functional>
#include <memory>
#include <ostream>
#include <sstream>
#include <string>

#include "HostBrowser.h"
#include "HostShape.h"
#include "HostShellWindows.h"
#include "HostWindow.h"
#include "win/com_ptr.h"
#include "win/unique.h"

namespace vexbane::host {

inline constexpr char kFrameTabClass[] = "Frame Tab";
inline constexpr char kTabWindowClass[] = "TabWindowClass";
inline constexpr char kDocViewClass[] = "Shell DocObject View";

// Report lines written on the tabs' threads, handed to the session's output on its own thread.
class SharedLines {
 public:
  SharedLines() noexcept { ::InitializeCriticalSection(&m_lock); }
  ~SharedLines() { ::DeleteCriticalSection(&m_lock); }
  SharedLines(const SharedLines&) = delete;
  SharedLines& operator=(const SharedLines&) = delete;
  void Add(const std::string& text);
  void FlushTo(std::ostream& out);

 private:
  CRITICAL_SECTION m_lock;
  std::string m_text;
};

// A plain child window of a given class, for the layers between the frame and the page.
class LayerWindow final : public win::Window {
 public:
  HWND Create(const char* className, HWND parent);
};

class HostTab {
 public:
  // Starts the tab's thread, which makes the windows below `frame`, the browser object (its HWND
  // is the frame) and the helper, and hands the helper its site. The caller lists the browser.
  HostTab(HWND frame, const ShapeOptions& shape, const BrowserList* list, SharedLines& lines);
  // Closes the tab (without OnQuit) if it is still open.
  ~HostTab();
  HostTab(const HostTab&) = delete;
  HostTab& operator=(const HostTab&) = delete;

  bool started() const noexcept { return m_threadId != 0 && m_page.hwnd() != nullptr; }
  HRESULT helperResult() const noexcept { return m_helperResult; }
  HWND page() const noexcept { return m_page.hwnd(); }
  HWND top() const noexcept;  // the tab's own topmost window below the frame
  HWND dialog() const noexcept { return m_lastDialog; }
  DWORD threadId() const noexcept { return m_threadId; }
  HostBrowser* browser() const noexcept { return m_browser.get(); }
  IObjectWithSite* helper() const noexcept { return m_helper.get(); }
  bool closed() const noexcept { return m_closed; }

  // Runs `task` on the tab's thread and waits for it, dispatching the caller's messages.
  void Run(const std::function<void()>& task);

  void Show(bool selected);
  void Navigate(const std::string& url);
  void Title(const std::string& text);
  bool NewWindow(const std::string& url, long flags, EventOrder order);
  void SetFullName(const std::string& path);
  // An HTML dialog made on the tab's thread and owned by the frame, as a tab's showModalDialog is.
  void OpenDialog();
  void CloseDialog();
  bool DialogExists() const noexcept { return m_lastDialog && ::IsWindow(m_lastDialog); }
  // The tab's end on its thread: OnQuit when `fireOnQuit`, then the site is taken away and the
  // windows go; the thread ends with it.
  void Close(bool fireOnQuit);
  // The same end, posted to the tab's thread to begin when `go` is set: tabs released by one
  // event quit at the same moment. WaitClosed then waits for the thread's end.
  bool CloseWhen(HANDLE go, bool fireOnQuit);
  void WaitClosed();

 private:
  static DWORD WINAPI ThreadMain(void* self);
  void Build();
  void Teardown(bool fireOnQuit);

  HWND m_frame;
  ShapeOptions m_shape;
  const BrowserList* m_list;
  SharedLines& m_lines;
  class LineBuf final : public std::stringbuf {
   public:
    explicit LineBuf(SharedLines& lines) : m_lines(lines) {}
   protected:
    int sync() override {
      m_lines.Add(str());
      str(std::string());
      return 0;
    }
   private:
    SharedLines& m_lines;
  };
  LineBuf m_buf{m_lines};
  std::ostream m_out{&m_buf};

  win::UniqueHandle m_thread;
  win::UniqueHandle m_ready;
  DWORD m_threadId = 0;
  LayerWindow m_frameTab;
  LayerWindow m_tabWindow;
  LayerWindow m_docView;
  PageWindow m_page;
  DialogWindow m_dialog{m_out};
  HWND m_lastDialog = nullptr;
  win::ComPtr<HostBrowser> m_browser;
  win::ComPtr<IObjectWithSite> m_helper;
  HRESULT m_helperResult = E_FAIL;
  bool m_closed = false;
  struct PendingClose;
  std::unique_ptr<PendingClose> m_pendingClose;  // the task CloseWhen posted, kept until it ran
};

}  // namespace vexbane::host
