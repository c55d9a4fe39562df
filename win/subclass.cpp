// Window subclassing through the window procedure and a window property.
#include "win/subclass.h"

namespace vexbane::win {
namespace {
constexpr char kOriginalProcProp[] = "VexbaneOriginalProc";

WNDPROC OriginalProc(HWND window) noexcept {
  return reinterpret_cast<WNDPROC>(::GetPropA(window, kOriginalProcProp));
}
}  // namespace

bool SubclassWindow(HWND window, WNDPROC proc) noexcept {
  if (!window || !proc || OriginalProc(window)) return false;
  auto original = reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(window, GWLP_WNDPROC));
  if (!original || !::SetPropA(window, kOriginalProcProp, reinterpret_cast<HANDLE>(original))) return false;
  ::SetLastError(ERROR_SUCCESS);
  // The old value is the procedure itself, never zero; zero with an error set means it failed.
  if (!::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc)) &&
      ::GetLastError() != ERROR_SUCCESS) {
    ::RemovePropA(window, kOriginalProcProp);
    return false;
  }
  return true;
}

void UnsubclassWindow(HWND window) noexcept {
  WNDPROC original = OriginalProc(window);
  if (!original) return;
  ::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
  ::RemovePropA(window, kOriginalProcProp);
}

LRESULT CallOriginalProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
  WNDPROC original = OriginalProc(window);
  LRESULT result = original ? ::CallWindowProcA(original, window, msg, wParam, lParam)
                            : ::DefWindowProcA(window, msg, wParam, lParam);
  if (msg == WM_NCDESTROY) UnsubclassWindow(window);
  return result;
}

}  // namespace vexbane::win
