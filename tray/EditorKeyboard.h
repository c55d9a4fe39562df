// Keyboard navigation (Tab, Enter, Esc) for the modeless editors, whatever message loop the program runs.
#pragma once
#include <windows.h>

#include "win/unique.h"

namespace vexbane::tray {

// While it lives, a thread hook hands the keyboard messages of any editor form
// (and of its controls) to IsDialogMessage before they are dispatched.
class EditorKeyboard {
 public:
  EditorKeyboard() noexcept;
  EditorKeyboard(const EditorKeyboard&) = delete;
  EditorKeyboard& operator=(const EditorKeyboard&) = delete;

 private:
  static LRESULT CALLBACK GetMessageProc(int code, WPARAM wParam, LPARAM lParam) noexcept;
  win::UniqueHook m_hook;
};

// True when `window` is an editor form: the hook's test, by class name alone.
bool IsEditorForm(HWND window) noexcept;

}  // namespace vexbane::tray
