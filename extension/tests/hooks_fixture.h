// Shared pieces of the hook and quit suites: message pumping, test windows, a stand-in tray form.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "Hooks.h"
#include "ModVexbaneIE.h"
#include "ThreadState.h"
#include "core/time_of_day.h"

namespace vexbane::ext::hooktest {

// Lets this thread take its messages (and its hooks see them) for `ms` milliseconds.
inline void PumpFor(DWORD ms) {
  const DWORD end = ::GetTickCount() + ms;
  do {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageA(&msg);
    }
    ::Sleep(5);
  } while (static_cast<LONG>(::GetTickCount() - end) < 0);
}

// A time of day `ms` before now (never 0, which means "none").
inline int32_t MsAgo(int32_t ms) {
  int32_t t = (TimeOfDayMs() - ms + kMsPerDay) % kMsPerDay;
  return t == 0 ? 1 : t;
}

// Gives back every hook user of this thread and empties its state, so each test starts as a
// thread that never ran the helper.
inline void ResetThreadState() {
  ThreadState& st = *CurrentThreadState();
  while (st.hookUsers > 0) ReleaseHooks(st);
  ReleaseHooks(st);
  st = ThreadState{};
}

// Shows a window above all others without activating it: under Wine without a window manager
// an activated window takes two seconds to hide or destroy.
inline void ShowOnTop(HWND hwnd) {
  ::SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// Counts the messages a test window receives, by number.
struct MessageLog {
  int lbuttonDown = 0;
  int scanMessages = 0;
  int userMessages = 0;
  int clicks = 0;  // BM_CLICK
};

// A top-level or owned window of a class of the test's choosing, destroyed with the object.
class TestWindow {
 public:
  TestWindow(const char* className, HWND owner, int x, int y, int w, int h, bool visible = true)
      : m_className(className) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = &Proc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = className;
    wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
    ::RegisterClassA(&wc);  // a second registration of the same class fails harmlessly
    m_hwnd = ::CreateWindowExA(0, className, className, WS_POPUP, x, y, w, h, owner, nullptr,
                               ::GetModuleHandleA(nullptr), nullptr);
    ::SetWindowLongPtrA(m_hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&m_log));
    if (visible) ShowOnTop(m_hwnd);
  }
  ~TestWindow() {
    if (::IsWindow(m_hwnd)) ::DestroyWindow(m_hwnd);
    // Other suites of this program register the same class names with procedures of their own;
    // fails harmlessly while another window of the class still exists.
    ::UnregisterClassA(m_className.c_str(), ::GetModuleHandleA(nullptr));
  }
  TestWindow(const TestWindow&) = delete;
  TestWindow& operator=(const TestWindow&) = delete;

  HWND hwnd() const { return m_hwnd; }
  bool Alive() const { return ::IsWindow(m_hwnd) != FALSE; }
  const MessageLog& log() const { return m_log; }
  POINT Center() const {
    RECT r;
    ::GetWindowRect(m_hwnd, &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
    if (auto* log = reinterpret_cast<MessageLog*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA))) {
      if (msg == WM_LBUTTONDOWN) ++log->lbuttonDown;
      if (msg == 0x0491) ++log->scanMessages;
      if (msg == WM_USER) ++log->userMessages;
    }
    return ::DefWindowProcA(hwnd, msg, wParam, lParam);
  }

  std::string m_className;
  MessageLog m_log;
  HWND m_hwnd = nullptr;
};

// The tray program's hidden form as the helper sees it: caption "Vexbane Tray Form" with the
// buttons "Block" and "Form Close", each counting the BM_CLICKs it receives.
class TestTrayForm {
 public:
  TestTrayForm() {
    m_form = ::CreateWindowExA(0, "STATIC", "Vexbane Tray Form", WS_POPUP, 0, 0, 100, 60, nullptr, nullptr,
                               ::GetModuleHandleA(nullptr), nullptr);
    m_block = MakeButton("Block", 0, m_blockClicks);
    m_formClose = MakeButton("Form Close", 25, m_formCloseClicks);
  }
  ~TestTrayForm() { ::DestroyWindow(m_form); }
  TestTrayForm(const TestTrayForm&) = delete;
  TestTrayForm& operator=(const TestTrayForm&) = delete;

  HWND block() const { return m_block; }
  HWND formClose() const { return m_formClose; }
  int blockClicks() const { return m_blockClicks; }
  int formCloseClicks() const { return m_formCloseClicks; }

 private:
  static constexpr char kOldProc[] = "VexbaneTestOldProc";
  static constexpr char kCounter[] = "VexbaneTestCounter";

  HWND MakeButton(const char* caption, int top, int& counter) {
    HWND b = ::CreateWindowExA(0, "BUTTON", caption, WS_CHILD, 0, top, 60, 20, m_form, nullptr,
                               ::GetModuleHandleA(nullptr), nullptr);
    ::SetPropA(b, kCounter, &counter);
    ::SetPropA(b, kOldProc, reinterpret_cast<HANDLE>(::GetWindowLongPtrA(b, GWLP_WNDPROC)));
    ::SetWindowLongPtrA(b, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ButtonProc));
    return b;
  }

  static LRESULT CALLBACK ButtonProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
    if (msg == BM_CLICK) {
      ++*static_cast<int*>(::GetPropA(hwnd, kCounter));
      return 0;
    }
    auto old = reinterpret_cast<WNDPROC>(::GetPropA(hwnd, kOldProc));
    return ::CallWindowProcA(old, hwnd, msg, wParam, lParam);
  }

  HWND m_form = nullptr;
  HWND m_block = nullptr;
  HWND m_formClose = nullptr;
  int m_blockClicks = 0;
  int m_formCloseClicks = 0;
};

}  // namespace vexbane::ext::hooktest
