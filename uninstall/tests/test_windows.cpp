// Windows the uninstaller's tests put up or look for.
#include "test_windows.h"

namespace vexbane::testing {

StandInFrame::StandInFrame(const char* className, const char* title) : m_className(className) {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = ::DefWindowProcA;
  wc.hInstance = ::GetModuleHandleA(nullptr);
  wc.lpszClassName = m_className.c_str();
  ::RegisterClassA(&wc);
  m_hwnd = ::CreateWindowExA(0, m_className.c_str(), title, WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                             wc.hInstance, nullptr);
}

StandInFrame::~StandInFrame() {
  if (m_hwnd) ::DestroyWindow(m_hwnd);
  ::UnregisterClassA(m_className.c_str(), ::GetModuleHandleA(nullptr));
}

HWND FindUnhitchBox() { return ::FindWindowA("#32770", "Unhitch"); }

HWND WaitForUnhitchBox(DWORD timeoutMs) {
  const DWORD deadline = ::GetTickCount() + timeoutMs;
  for (;;) {
    if (HWND box = FindUnhitchBox()) {
      // Let the box finish laying out its controls.
      ::Sleep(200);
      return box;
    }
    if (::GetTickCount() > deadline) return nullptr;
    ::Sleep(20);
  }
}

namespace {

std::string ClassOf(HWND hwnd) {
  char name[64] = {};
  ::GetClassNameA(hwnd, name, sizeof name);
  return name;
}

std::string TextOf(HWND hwnd) {
  char text[512] = {};
  ::GetWindowTextA(hwnd, text, sizeof text);
  return text;
}

BOOL CALLBACK CollectChild(HWND child, LPARAM param) noexcept {
  auto& box = *reinterpret_cast<BoxSnapshot*>(param);
  const std::string className = ClassOf(child);
  if (_stricmp(className.c_str(), "Button") == 0) {
    box.buttons.push_back(TextOf(child));
    box.buttonIds.push_back(::GetDlgCtrlID(child));
  } else if (_stricmp(className.c_str(), "Static") == 0) {
    const LONG_PTR style = ::GetWindowLongPtrA(child, GWL_STYLE);
    if ((style & SS_TYPEMASK) == SS_ICON) {
      box.hasIcon = box.hasIcon || ::SendMessageA(child, STM_GETICON, 0, 0) != 0;
    } else {
      std::string text = TextOf(child);
      if (!text.empty()) box.text += text;
    }
  }
  return TRUE;
}

}  // namespace

BoxSnapshot ReadBox(HWND box) {
  BoxSnapshot snapshot;
  snapshot.caption = TextOf(box);
  ::EnumChildWindows(box, CollectChild, reinterpret_cast<LPARAM>(&snapshot));
  return snapshot;
}

void PressOk(HWND box) {
  HWND ok = ::GetDlgItem(box, IDOK);
  if (ok)
    ::PostMessageA(ok, BM_CLICK, 0, 0);
  else
    ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

}  // namespace vexbane::testing
