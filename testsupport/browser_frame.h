// A browser frame of the test's own process: the window a helper names when it reports a block.
#pragma once
#include <windows.h>

namespace vexbane::testing {

// A hidden window of class "IEFrame" on the calling thread, destroyed with the object.
class BrowserFrame {
 public:
  BrowserFrame();
  ~BrowserFrame();
  BrowserFrame(const BrowserFrame&) = delete;
  BrowserFrame& operator=(const BrowserFrame&) = delete;
  HWND hwnd() const { return m_hwnd; }

 private:
  HWND m_hwnd = nullptr;
};

}  // namespace vexbane::testing
