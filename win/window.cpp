// Base class for one kind of window.
#include "win/window.h"

namespace vexbane::win {

Window::~Window() {
  if (m_hwnd) {
    HWND h = m_hwnd;
    ::SetWindowLongPtrA(h, GWLP_USERDATA, 0);
    m_hwnd = nullptr;
    ::DestroyWindow(h);
  }
}

HWND Window::CreateWindowFor(const char* className, const char* title, DWORD style, DWORD exStyle,
                             int x, int y, int width, int height, HWND parent, HICON icon) {
  WNDCLASSEXA wc = {sizeof(wc)};
  wc.lpfnWndProc = &Window::Thunk;
  wc.hInstance = ThisModule();
  wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = className;
  wc.hIcon = icon;
  wc.hIconSm = icon;
  ::RegisterClassExA(&wc);
  return ::CreateWindowExA(exStyle, className, title, style, x, y, width, height, parent, nullptr,
                           ThisModule(), this);
}

LRESULT Window::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
  return Default(msg, wParam, lParam);
}

LRESULT CALLBACK Window::Thunk(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
  Window* self = nullptr;
  if (msg == WM_NCCREATE) {
    self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    // A window of this class created by someone else carries no object.
    if (!self) return ::DefWindowProcA(hwnd, msg, wParam, lParam);
    self->m_hwnd = hwnd;
    ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  } else {
    self = reinterpret_cast<Window*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  }
  if (!self) return ::DefWindowProcA(hwnd, msg, wParam, lParam);
  LRESULT result = self->OnMessage(msg, wParam, lParam);
  if (msg == WM_NCDESTROY) {
    ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    self->m_hwnd = nullptr;
    self->OnFinalDestroy();
  }
  return result;
}

HWND RootWindow(HWND window) noexcept {
  // GetParent answers the owner for a top-level window: only a child climbs on.
  while (window && (::GetWindowLongA(window, GWL_STYLE) & WS_CHILD)) {
    HWND parent = ::GetParent(window);
    if (!parent) break;
    window = parent;
  }
  return window;
}

}  // namespace vexbane::win
