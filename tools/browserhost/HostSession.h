// The stand-in browser's session: its windows on one thread, the shell window list, real
// input, and the message pump that runs between the steps.
#pragma once
#include <windows.h>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "HostKeys.h"
#include "HostShape.h"
#include "HostShellWindows.h"
#include "HostWindow.h"

namespace vexbane::host {

class HostSession {
 public:
  // COM must already be initialised on this thread (single-threaded apartment).
  explicit HostSession(std::ostream& out, const ShapeOptions& shape = ShapeOptions());
  ~HostSession();
  HostSession(const HostSession&) = delete;
  HostSession& operator=(const HostSession&) = delete;

  HRESULT shellWindowsResult() const noexcept { return m_shellWindows.result(); }
  const ShapeOptions& shape() const noexcept { return m_shape; }
  // The browsers the shell window list holds now (in the tab shapes, one per open tab).
  size_t ListedBrowsers() const noexcept { return m_list.size(); }

  // The new-window events of this session's browser, for the windows open and those to come.
  void SetEventOrder(EventOrder order) noexcept;
  EventOrder eventOrder() const noexcept { return m_order; }

  // Opens a window with its helper (in the tab shapes: a frame with one tab) and makes it the
  // current one.
  HostWindow& Open(const std::string& frameClass = kFrameClass);
  // The current window; opens the first one when there is none yet.
  HostWindow& Current();
  bool HasCurrent() const noexcept { return m_current && !m_current->closed(); }
  // Every window opened, in order, closed ones too.
  const std::vector<std::unique_ptr<HostWindow>>& windows() const noexcept { return m_windows; }
  // Makes the n-th window opened (from 1) the current one; false when there is none.
  bool Select(size_t n);
  // Quits the current window and drops it from the shell window list; in the tab shapes its
  // tabs are torn down in `order` (tab numbers from 1, the others after them).
  void Quit(const std::vector<size_t>& order = std::vector<size_t>());
  // Quits every window still open.
  void QuitAll();

  // A left click in the middle of the current page, through the system's input queue, so the
  // thread's mouse hook sees it as it sees a user's click.
  void Click();
  void CtrlKey(bool down);
  // Presses (`down`), releases (`up`) or presses and releases (both) a key with its modifiers
  // through the system's input queue, with the keyboard focus on the current page, so the page's
  // thread and its keyboard hook take it as a user's key.
  void Key(const KeyChord& chord, bool down, bool up);
  void Post(UINT msg);
  // Dispatches this thread's messages for `ms` milliseconds.
  static void Pump(DWORD ms);

 private:
  std::ostream& m_out;
  ShapeOptions m_shape;
  BrowserList m_list;
  ShellWindowsRegistration m_shellWindows{&m_list};
  std::vector<std::unique_ptr<HostWindow>> m_windows;
  std::vector<std::string> m_classes;  // window classes registered for this session's windows
  HostWindow* m_current = nullptr;
  EventOrder m_order = EventOrder::NewWindow2Only;
};

}  // namespace vexbane::host
