// The stand-in browser's session.
#include "HostSession.h"

#include <algorithm>

#include "HostTab.h"
#include "TabFrame.h"
#include "win/window.h"

namespace vexbane::host {

HostSession::HostSession(std::ostream& out, const ShapeOptions& shape) : m_out(out), m_shape(shape) {}

HostSession::~HostSession() {
  QuitAll();
  m_windows.clear();
  // The window classes belong to the program that links the host; a test program may register
  // the same class names for windows of its own once this session is over.
  for (const std::string& name : m_classes) ::UnregisterClassA(name.c_str(), win::ThisModule());
}

HostWindow& HostSession::Open(const std::string& frameClass) {
  for (const char* name : {frameClass.c_str(), kPageClass, kDialogClass, kFrameTabClass, kTabWindowClass, kDocViewClass})
    if (std::find(m_classes.begin(), m_classes.end(), name) == m_classes.end()) m_classes.emplace_back(name);
  if (m_shape.tabbed()) {
    // The tabs list their own browsers; the frame's class is always IEFrame.
    m_windows.push_back(std::make_unique<HostWindow>(m_shape, &m_list, m_out));
    m_current = m_windows.back().get();
    m_current->SetEventOrder(m_order);
    Pump(50);
    return *m_current;
  }
  auto window = std::make_unique<HostWindow>(frameClass, m_out);
  window->SetEventOrder(m_order);
  if (window->browser()) m_list.emplace_back(static_cast<IDispatch*>(static_cast<IWebBrowser2*>(window->browser())));
  m_current = window.get();
  m_windows.push_back(std::move(window));
  Pump(50);
  return *m_current;
}

void HostSession::SetEventOrder(EventOrder order) noexcept {
  m_order = order;
  for (auto& w : m_windows) w->SetEventOrder(order);
}

HostWindow& HostSession::Current() {
  if (!m_current || m_current->closed()) return Open();
  return *m_current;
}

bool HostSession::Select(size_t n) {
  if (n < 1 || n > m_windows.size() || m_windows[n - 1]->closed()) return false;
  m_current = m_windows[n - 1].get();
  ::SetForegroundWindow(m_current->frame());
  return true;
}

void HostSession::Quit(const std::vector<size_t>& order) {
  HostWindow& w = Current();
  if (w.tabbed()) {
    w.Quit(order);
  } else {
    w.Quit();
  }
  IDispatch* gone = static_cast<IWebBrowser2*>(w.browser());
  m_list.erase(std::remove_if(m_list.begin(), m_list.end(), [gone](const auto& p) { return p.get() == gone; }),
               m_list.end());
  m_current = nullptr;
  for (auto& other : m_windows)
    if (!other->closed()) m_current = other.get();
  Pump(20);
}

void HostSession::QuitAll() {
  while (std::any_of(m_windows.begin(), m_windows.end(), [](const auto& w) { return !w->closed(); })) {
    for (auto& w : m_windows)
      if (!w->closed()) m_current = w.get();
    Quit();
  }
}

void HostSession::Click() {
  HostWindow& w = Current();
  ::SetForegroundWindow(w.frame());
  RECT rc = {};
  ::GetWindowRect(w.page(), &rc);
  ::SetCursorPos((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
  Pump(30);
  INPUT in[2] = {};
  in[0].type = INPUT_MOUSE;
  in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  in[1].type = INPUT_MOUSE;
  in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  ::SendInput(2, in, sizeof(INPUT));
  Pump(100);
}

void HostSession::CtrlKey(bool down) {
  HWND frame = Current().frame();
  if (::GetForegroundWindow() != frame) {
    ::SetForegroundWindow(frame);
    // Under Wine the focus change arrives later and resets the key state to the X server's,
    // which never saw a key pressed with SendInput: let it settle before the key goes down.
    Pump(150);
  }
  INPUT in = {};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = VK_CONTROL;
  in.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
  ::SendInput(1, &in, sizeof(INPUT));
  Pump(100);
}

void HostSession::Key(const KeyChord& chord, bool down, bool up) {
  HostWindow& w = Current();
  if (::GetForegroundWindow() != w.frame()) {
    ::SetForegroundWindow(w.frame());
    Pump(150);  // as for Ctrl: the focus change resets the key state when it arrives
  }
  w.FocusPage(true);
  std::vector<INPUT> in;
  auto add = [&in](WORD vk, bool release) {
    INPUT i = {};
    i.type = INPUT_KEYBOARD;
    i.ki.wVk = vk;
    i.ki.wScan = static_cast<WORD>(::MapVirtualKeyA(vk, 0));
    i.ki.dwFlags = release ? KEYEVENTF_KEYUP : 0;
    in.push_back(i);
  };
  if (down) {
    for (WORD m : chord.modifiers) add(m, false);
    add(chord.vk, false);
  }
  if (up) {
    add(chord.vk, true);
    for (auto m = chord.modifiers.rbegin(); m != chord.modifiers.rend(); ++m) add(*m, true);
  }
  ::SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
  Pump(100);
}

void HostSession::Post(UINT msg) {
  ::PostMessageA(Current().messageTarget(), msg, 0, 0);
  Pump(50);
}

void HostSession::Pump(DWORD ms) { WaitPumping(nullptr, ms); }

}  // namespace vexbane::host
