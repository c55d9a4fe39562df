// The setup window's pages.
#include "SetupPages.h"

#include <commctrl.h>
#include <shlobj.h>

#include "SetupProduct.h"

namespace vexbane::setup {
namespace {

constexpr int kBrowseId = 101;

}  // namespace

bool SetupPage::Create(HWND frame, HFONT font) {
  m_font = font;
  // WS_EX_CONTROLPARENT: Tab and the dialog keys reach the page's controls from the setup window.
  if (!CreateWindowFor("VexbaneSetupPage", "", WS_CHILD | WS_CLIPSIBLINGS, WS_EX_CONTROLPARENT, kPageLeft, kPageTop,
                       kPageWidth, kPageHeight, frame))
    return false;
  OnCreate();
  return true;
}

HWND SetupPage::Control(const char* cls, const char* text, DWORD style, int x, int y, int width, int height, int id,
                        DWORD exStyle) noexcept {
  HWND control = ::CreateWindowExA(exStyle, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, width, height, hwnd(),
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), win::ThisModule(), nullptr);
  if (control) ::SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(m_font), FALSE);
  return control;
}

void WelcomePage::OnCreate() noexcept {
  Control("STATIC",
          "Vexbane 5.0 blocks the pop-up windows that web pages open in Internet Explorer without your click, "
          "and keeps or cleans your cookies as you choose.\r\n\r\n"
          "Setup will install Vexbane on this computer. If Vexbane is installed already, setup replaces it and "
          "keeps your blocking level and your lists.\r\n\r\n"
          "Internet Explorer windows that are open now keep the blocker they started with; close them first "
          "if you can.\r\n\r\n"
          "Click Next to continue, or Cancel to leave setup without changing anything.",
          SS_LEFT, 0, 0, kPageWidth, kPageHeight);
}

void FolderPage::OnCreate() noexcept {
  Control("STATIC",
          "Setup will install Vexbane in the following folder. To install it somewhere else, type the folder or "
          "click Browse.",
          SS_LEFT, 0, 0, kPageWidth, 32);
  m_edit = Control("EDIT", m_folder.c_str(), WS_TABSTOP | ES_AUTOHSCROLL, 0, 40, kPageWidth - 90, 22, 0,
                   WS_EX_CLIENTEDGE);
  Control("BUTTON", "B&rowse...", WS_TABSTOP | BS_PUSHBUTTON, kPageWidth - 80, 39, 80, 24, kBrowseId);
  m_check = Control("BUTTON",
                    "&Delete every cookie except the ones you keep in the Cookie Manager whenever the last "
                    "Internet Explorer window closes",
                    WS_TABSTOP | BS_AUTOCHECKBOX | BS_MULTILINE | BS_TOP, 0, 84, kPageWidth, 34);
  ::SendMessageA(m_check, BM_SETCHECK, m_autoClean ? BST_CHECKED : BST_UNCHECKED, 0);
  Control("STATIC",
          "Cleaning signs you out of the sites whose cookies go. You can change this later in the Cookie "
          "Manager of the tray icon's menu.",
          SS_LEFT, 18, 124, kPageWidth - 18, 34);
}

std::string FolderPage::Folder() const {
  char text[MAX_PATH] = {};
  ::GetWindowTextA(m_edit, text, MAX_PATH);
  std::string folder(text);
  while (!folder.empty() && folder.back() == ' ') folder.pop_back();
  size_t start = folder.find_first_not_of(' ');
  folder = start == std::string::npos ? std::string() : folder.substr(start);
  while (folder.size() > 3 && folder.back() == '\\') folder.pop_back();
  return folder;
}

int FolderPage::AutoClean() const noexcept {
  return ::SendMessageA(m_check, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
}

LRESULT FolderPage::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
  if (msg == WM_COMMAND && LOWORD(wParam) == kBrowseId) {
    Browse();
    return 0;
  }
  return SetupPage::OnMessage(msg, wParam, lParam);
}

void FolderPage::Browse() noexcept {
  BROWSEINFOA info = {};
  info.hwndOwner = win::RootWindow(hwnd());
  info.lpszTitle = "Choose the folder in which to install Vexbane:";
  info.ulFlags = BIF_RETURNONLYFSDIRS;
  LPITEMIDLIST item = ::SHBrowseForFolderA(&info);
  if (!item) return;
  char path[MAX_PATH] = {};
  const bool got = ::SHGetPathFromIDListA(item, path) != FALSE;
  ::CoTaskMemFree(item);
  if (!got || !path[0]) return;
  // As earlier setups did: the product's own folder inside the one chosen.
  std::string folder(path);
  if (folder.back() != '\\') folder += '\\';
  folder += kProduct;
  ::SetWindowTextA(m_edit, folder.c_str());
}

void ProgressPage::OnCreate() noexcept {
  m_step = Control("STATIC", "", SS_LEFT | SS_NOPREFIX, 0, 10, kPageWidth, 20);
  m_bar = Control(PROGRESS_CLASSA, "", 0, 0, 36, kPageWidth, 20);
  Control("STATIC",
          "If a step fails, setup puts back everything it has changed and tells you which step it was.",
          SS_LEFT, 0, 72, kPageWidth, 40);
}

void ProgressPage::Starting(size_t index, size_t count, const SetupStep& step) noexcept {
  ::SetWindowTextA(m_step, step.Name());
  ::SendMessageA(m_bar, PBM_SETRANGE, 0, MAKELPARAM(0, count));
  ::SendMessageA(m_bar, PBM_SETPOS, index, 0);
  // The steps run on this thread: the window is drawn between them.
  MSG msg;
  while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
  ::UpdateWindow(win::RootWindow(hwnd()));
}

void FinishPage::OnCreate() noexcept {
  m_text = Control("STATIC", "", SS_LEFT | SS_NOPREFIX, 0, 0, kPageWidth, kPageHeight);
}

void FinishPage::Say(std::string title, std::string subtitle, const std::string& text) noexcept {
  m_title = std::move(title);
  m_subtitle = std::move(subtitle);
  ::SetWindowTextA(m_text, text.c_str());
}

}  // namespace vexbane::setup
