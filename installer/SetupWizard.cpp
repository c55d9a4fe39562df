// The setup window and the order of its pages.
#include "SetupWizard.h"

#include "SetupExitCodes.h"
#include "SetupProduct.h"
#include "core/setup_command_line.h"

namespace vexbane::setup {
namespace {

constexpr int kClientWidth = 480, kClientHeight = 330;
constexpr int kBackId = 1001, kNextId = 1002, kCancelId = 1003;
constexpr int kBannerHeight = 58;

}  // namespace

SetupWizard::SetupWizard(SetupJob& job)
    : m_job(job), m_folder(job.choice().folder, job.choice().autoClean), m_exitCode(kExitCancelled) {}

HWND SetupWizard::Button(const char* text, int id, int x, DWORD style) noexcept {
  HWND button = ::CreateWindowExA(0, "BUTTON", text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, x, kClientHeight - 36,
                                  80, 25, hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), win::ThisModule(),
                                  nullptr);
  ::SendMessageA(button, WM_SETFONT, reinterpret_cast<WPARAM>(m_font), FALSE);
  return button;
}

int SetupWizard::Run() noexcept {
  m_font = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
  LOGFONTA bold = {};
  ::GetObjectA(m_font, sizeof bold, &bold);
  bold.lfWeight = FW_BOLD;
  m_bold.reset(::CreateFontIndirectA(&bold));

  const DWORD style = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
  RECT frame = {0, 0, kClientWidth, kClientHeight};
  ::AdjustWindowRectEx(&frame, style, FALSE, WS_EX_CONTROLPARENT);
  const int width = frame.right - frame.left, height = frame.bottom - frame.top;
  const int x = (::GetSystemMetrics(SM_CXSCREEN) - width) / 2, y = (::GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  if (!CreateWindowFor("VexbaneSetupWindow", kTitle, style, WS_EX_CONTROLPARENT, x, y, width, height, nullptr))
    return m_exitCode;

  // The banner: white, the page's title in bold and a line under it.
  m_title = ::CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_NOPREFIX, 16, 12, kClientWidth - 32, 18,
                              hwnd(), nullptr, win::ThisModule(), nullptr);
  ::SendMessageA(m_title, WM_SETFONT, reinterpret_cast<WPARAM>(m_bold.get()), FALSE);
  m_subtitle = ::CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_NOPREFIX, 28, 32, kClientWidth - 44, 18,
                                 hwnd(), nullptr, win::ThisModule(), nullptr);
  ::SendMessageA(m_subtitle, WM_SETFONT, reinterpret_cast<WPARAM>(m_font), FALSE);
  ::CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_ETCHEDHORZ, 0, kBannerHeight, kClientWidth, 2, hwnd(),
                    nullptr, win::ThisModule(), nullptr);
  ::CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_ETCHEDHORZ, 0, kClientHeight - 48, kClientWidth, 2,
                    hwnd(), nullptr, win::ThisModule(), nullptr);
  m_back = Button("< &Back", kBackId, kClientWidth - 284, BS_PUSHBUTTON);
  m_next = Button("&Next >", kNextId, kClientWidth - 204, BS_DEFPUSHBUTTON);
  m_cancel = Button("Cancel", kCancelId, kClientWidth - 100, BS_PUSHBUTTON);

  if (!m_welcome.Create(hwnd(), m_font) || !m_folder.Create(hwnd(), m_font) || !m_progress.Create(hwnd(), m_font) ||
      !m_finish.Create(hwnd(), m_font))
    return m_exitCode;
  Show(Stage::Welcome);
  ::ShowWindow(hwnd(), SW_SHOWNORMAL);
  ::SetForegroundWindow(hwnd());

  MSG msg;
  while (!m_ended && ::GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (::IsDialogMessageA(hwnd(), &msg)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
  if (hwnd()) ::DestroyWindow(hwnd());
  return m_exitCode;
}

void SetupWizard::Show(Stage stage) noexcept {
  m_stage = stage;
  SetupPage* page = stage == Stage::Welcome  ? static_cast<SetupPage*>(&m_welcome)
                    : stage == Stage::Folder ? static_cast<SetupPage*>(&m_folder)
                    : stage == Stage::Installing ? static_cast<SetupPage*>(&m_progress)
                                                 : static_cast<SetupPage*>(&m_finish);
  if (m_shown && m_shown != page) ::ShowWindow(m_shown->hwnd(), SW_HIDE);
  m_shown = page;
  ::SetWindowTextA(m_title, page->Title());
  ::SetWindowTextA(m_subtitle, page->Subtitle());
  ::ShowWindow(page->hwnd(), SW_SHOW);
  ::EnableWindow(m_back, stage == Stage::Folder);
  ::EnableWindow(m_next, stage != Stage::Installing);
  ::SetWindowTextA(m_next, stage == Stage::Finished ? "&Finish" : stage == Stage::Folder ? "&Install" : "&Next >");
  // Leaving is possible until the copying starts; afterwards setup finishes or puts everything back.
  ::EnableWindow(m_cancel, stage == Stage::Welcome || stage == Stage::Folder);
  ::ShowWindow(m_cancel, stage == Stage::Finished ? SW_HIDE : SW_SHOW);
  ::SetFocus(m_next);
}

void SetupWizard::OnNext() noexcept {
  switch (m_stage) {
    case Stage::Welcome:
      Show(Stage::Folder);
      break;
    case Stage::Folder: {
      std::string folder = m_folder.Folder();
      if (!IsFullFolderPath(folder)) {
        ::MessageBoxA(hwnd(), "Type the full path of a folder, for example C:\\Program Files\\Vexbane.", kTitle,
                      MB_OK | MB_ICONEXCLAMATION);
        return;
      }
      m_job.choice().folder = folder;
      m_job.choice().autoClean = m_folder.AutoClean();
      Show(Stage::Installing);
      m_job.Install(&m_progress);
      m_exitCode = m_job.ExitCode();
      const SetupRunResult& result = m_job.result();
      m_finish.Say(result.done ? (result.restartNeeded ? "Restart Windows to finish" : "Vexbane 5.0 is installed")
                               : "Setup could not install Vexbane",
                   result.done ? (result.restartNeeded ? "Installed; the new browser helper works after a restart"
                                                       : "Setup has finished")
                               : "Nothing has been changed",
                   m_job.Outcome());
      Show(Stage::Finished);
      break;
    }
    case Stage::Installing:
      break;
    case Stage::Finished:
      m_ended = true;
      break;
  }
}

void SetupWizard::OnCancel() noexcept {
  if (m_stage != Stage::Welcome && m_stage != Stage::Folder) return;
  if (::MessageBoxA(hwnd(), "Leave setup? Vexbane will not be installed and nothing will be changed.", kTitle,
                    MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
    return;
  m_exitCode = kExitCancelled;
  m_ended = true;
}

LRESULT SetupWizard::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
  switch (msg) {
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case kBackId:
          if (m_stage == Stage::Folder) Show(Stage::Welcome);
          return 0;
        case kNextId:
        case IDOK:
          OnNext();
          return 0;
        case kCancelId:
        case IDCANCEL:
          if (m_stage == Stage::Finished)
            m_ended = true;
          else
            OnCancel();
          return 0;
      }
      break;
    case DM_GETDEFID:
      return MAKELRESULT(kNextId, DC_HASDEFID);
    case WM_CTLCOLORSTATIC:
      // The banner's texts stand on white, the pages' on the window's own colour.
      if (reinterpret_cast<HWND>(lParam) == m_title || reinterpret_cast<HWND>(lParam) == m_subtitle) {
        ::SetBkColor(reinterpret_cast<HDC>(wParam), ::GetSysColor(COLOR_WINDOW));
        ::SetTextColor(reinterpret_cast<HDC>(wParam), ::GetSysColor(COLOR_WINDOWTEXT));
        return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_WINDOW));
      }
      break;
    case WM_ERASEBKGND: {
      RECT rect;
      ::GetClientRect(hwnd(), &rect);
      RECT banner = rect;
      banner.bottom = kBannerHeight;
      ::FillRect(reinterpret_cast<HDC>(wParam), &banner, ::GetSysColorBrush(COLOR_WINDOW));
      rect.top = kBannerHeight;
      ::FillRect(reinterpret_cast<HDC>(wParam), &rect, ::GetSysColorBrush(COLOR_BTNFACE));
      return 1;
    }
    case WM_CLOSE:
      if (m_stage == Stage::Finished)
        m_ended = true;
      else
        OnCancel();
      return 0;
  }
  return Default(msg, wParam, lParam);
}

}  // namespace vexbane::setup
