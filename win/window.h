// Base class for one kind of window: the static thunk finds the object, short handlers do the work.
#pragma once
#include <windows.h>

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace vexbane::win {

// The module that holds the running code (the DLL inside a DLL, the program in a program).
inline HINSTANCE ThisModule() noexcept { return reinterpret_cast<HINSTANCE>(&__ImageBase); }

// The top-level window that holds `window` (the window itself when it is top-level): the walk up
// the parents that GetAncestor(GA_ROOT) does, which 95 and NT 4.0 lack.
HWND RootWindow(HWND window) noexcept;

class Window {
 public:
  Window() = default;
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  virtual ~Window();

  HWND hwnd() const noexcept { return m_hwnd; }

 protected:
  // Registers the class once per module (a second registration is harmless) and creates the
  // window with this object attached. Returns the window, or null with GetLastError set.
  HWND CreateWindowFor(const char* className, const char* title, DWORD style, DWORD exStyle,
                       int x, int y, int width, int height, HWND parent, HICON icon = nullptr);

  // Every message not handled by a subclass goes to DefWindowProc.
  virtual LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
  // Called once the window is gone; the object is no longer attached.
  virtual void OnFinalDestroy() noexcept {}

  LRESULT Default(UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
    return ::DefWindowProcA(m_hwnd, msg, wParam, lParam);
  }

 private:
  static LRESULT CALLBACK Thunk(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
  HWND m_hwnd = nullptr;
};

}  // namespace vexbane::win
