// Helpers for the dialog suites (no tests of their own; the file name lets the suite pick it up).
#include "dialogs_helpers.h"

#include "frmMessage.h"

namespace vexbane::tray::testing {

std::string Text(HWND window) {
  char buffer[1024] = {};
  ::GetWindowTextA(window, buffer, sizeof buffer);
  return buffer;
}

namespace {
struct Search {
  const char* className;
  HWND found;
};
BOOL CALLBACK Match(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  char name[64] = {};
  ::GetClassNameA(window, name, sizeof name);
  if (std::string(name) == search->className) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}
}  // namespace

HWND FindOwnWindow(const char* className, DWORD threadId) {
  Search search = {className, nullptr};
  ::EnumThreadWindows(threadId, &Match, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

void Pump(DWORD ms) {
  DWORD start = ::GetTickCount();
  do {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageA(&msg);
    }
    ::Sleep(5);
  } while (::GetTickCount() - start < ms);
}

void Click(HWND dialog, int buttonId) { ::SendMessageA(::GetDlgItem(dialog, buttonId), BM_CLICK, 0, 0); }

std::vector<std::string> ListBoxItems(HWND list) {
  std::vector<std::string> items;
  LRESULT count = ::SendMessageA(list, LB_GETCOUNT, 0, 0);
  for (int i = 0; i < count; ++i) {
    char buffer[1024] = {};
    ::SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(buffer));
    items.emplace_back(buffer);
  }
  return items;
}

bool SameArea(HRGN a, HRGN b) {
  HRGN difference = ::CreateRectRgn(0, 0, 0, 0);
  int kind = ::CombineRgn(difference, a, b, RGN_XOR);
  ::DeleteObject(difference);
  return kind == NULLREGION;
}

HANDLE HoldFile(const std::string& path, DWORD share) {
  return ::CreateFileA(path.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

RECT ControlRect(HWND control) {
  RECT r = {};
  ::GetWindowRect(control, &r);
  ::MapWindowPoints(nullptr, ::GetParent(control), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

void PressKey(WPARAM key, HWND control) {
  if (control) {
    // The user's keys reach the window in front: X focus events of windows that came and went
    // before may still be on their way to Wine, so the form is put in front first.
    ::SetForegroundWindow(::GetAncestor(control, GA_ROOT));
    Pump(20);
    ::SetFocus(control);
  }
  HWND target = ::GetFocus();
  ::PostMessageA(target, WM_KEYDOWN, key, 1);
  ::PostMessageA(target, WM_KEYUP, key, 0xC0000001);
  Pump(50);
}

MessageBoxAnswerer::MessageBoxAnswerer(int pressId, HWND owner)
    : m_thread(&MessageBoxAnswerer::Run, this, ::GetCurrentThreadId(), pressId, owner) {}

MessageBoxAnswerer::~MessageBoxAnswerer() {
  if (m_thread.joinable()) m_thread.join();
}

const SeenMessageBox& MessageBoxAnswerer::Seen() {
  if (m_thread.joinable()) m_thread.join();
  return m_seen;
}

namespace {
// Waits for a visible message box of the UI thread, records it and presses
// `pressId` (Esc when 0). The box, or null when none came within 5 s.
HWND AnswerBox(DWORD uiThread, int pressId, HWND owner, SeenMessageBox& seen) {
  HWND box = nullptr;
  for (int i = 0; i < 500 && !box; ++i) {
    HWND candidate = FindOwnWindow(frmMessage::kClassName, uiThread);
    if (candidate && ::IsWindowVisible(candidate)) box = candidate;
    else ::Sleep(10);
  }
  if (!box) return nullptr;
  seen.found = true;
  seen.title = Text(::GetDlgItem(box, frmMessage::lblTitle));
  seen.text = Text(::GetDlgItem(box, frmMessage::lblMessage));
  HWND yes = ::GetDlgItem(box, frmMessage::cmdYes);
  HWND no = ::GetDlgItem(box, frmMessage::cmdNo);
  seen.yesCaption = Text(yes);
  seen.noCaption = Text(no);
  seen.yesVisible = ::IsWindowVisible(yes);
  seen.noVisible = ::IsWindowVisible(no);
  ::GetWindowRect(box, &seen.window);
  seen.textRect = ControlRect(::GetDlgItem(box, frmMessage::lblMessage));
  seen.style = static_cast<DWORD>(::GetWindowLongPtrA(box, GWL_STYLE));
  if (owner) seen.ownerEnabled = ::IsWindowEnabled(owner);
  // Keys go where the system sends them: to the control that holds the keyboard.
  auto focusOf = [uiThread, box] {
    GUITHREADINFO info = {sizeof info};
    return ::GetGUIThreadInfo(uiThread, &info) && info.hwndFocus ? info.hwndFocus : box;
  };
  // A user presses keys once the box is up with its button holding the keyboard.
  if (pressId < 0)
    for (int i = 0; i < 200 && focusOf() == box; ++i) ::Sleep(10);
  if (pressId == kPressTabThenEnter) {
    seen.focusBeforeKeys = ::GetDlgCtrlID(focusOf());
    ::PostMessageA(focusOf(), WM_KEYDOWN, VK_TAB, 0);
    for (int i = 0; i < 100 && ::GetDlgCtrlID(focusOf()) == seen.focusBeforeKeys; ++i) ::Sleep(10);
  }
  if (pressId == kPressEnter || pressId == kPressTabThenEnter) ::PostMessageA(focusOf(), WM_KEYDOWN, VK_RETURN, 0);
  else if (pressId) ::PostMessageA(::GetDlgItem(box, pressId), BM_CLICK, 0, 0);
  else ::PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
  return box;
}
}  // namespace

void MessageBoxAnswerer::Run(DWORD uiThread, int pressId, HWND owner) {
  AnswerBox(uiThread, pressId, owner, m_seen);
}

MessageBoxSequenceAnswerer::MessageBoxSequenceAnswerer(std::vector<int> pressIds, HWND owner)
    : m_thread([this, uiThread = ::GetCurrentThreadId(), pressIds, owner] {
        HWND previous = nullptr;
        for (int pressId : pressIds) {
          // The next box is another window: the last one is gone first.
          for (int i = 0; i < 500 && previous && ::IsWindow(previous); ++i) ::Sleep(10);
          SeenMessageBox seen;
          previous = AnswerBox(uiThread, pressId, owner, seen);
          if (!previous) return;
          m_seen.push_back(seen);
        }
      }) {}

MessageBoxSequenceAnswerer::~MessageBoxSequenceAnswerer() {
  if (m_thread.joinable()) m_thread.join();
}

const std::vector<SeenMessageBox>& MessageBoxSequenceAnswerer::Seen() {
  if (m_thread.joinable()) m_thread.join();
  return m_seen;
}

ScopedAppFolder::ScopedAppFolder() : m_folder("VexbaneDialogsApp"), m_saved(Module().strAppPath) {
  Module().strAppPath = m_folder.path();
}

ScopedAppFolder::~ScopedAppFolder() {
  ::DeleteFileA(m_folder.File("WebSite.dat.new").c_str());
  ::RemoveDirectoryA(m_folder.File("WebSite.dat.new").c_str());
  ::RemoveDirectoryA(m_folder.File("IECookieURL.dat.new").c_str());
  Module().strAppPath = m_saved;
}

}  // namespace vexbane::tray::testing
