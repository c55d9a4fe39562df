#include "browser_frame.h"

namespace vexbane::testing {

BrowserFrame::BrowserFrame() {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = &::DefWindowProcA;
  wc.hInstance = ::GetModuleHandleA(nullptr);
  wc.lpszClassName = "IEFrame";
  ::RegisterClassA(&wc);  // another suite may have registered it first
  m_hwnd = ::CreateWindowExA(0, "IEFrame", "Browser", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                             ::GetModuleHandleA(nullptr), nullptr);
}

BrowserFrame::~BrowserFrame() { ::DestroyWindow(m_hwnd); }

}  // namespace vexbane::testing
