// frmPopupCookie: the cookie manager.
#include "frmPopupCookie.h"

#include <commctrl.h>
#include <oleauto.h>

#include <new>
#include <vector>

#include "CRegistry.h"
#include "CookieCleanerClient.h"
#include "ModTray.h"
#include "core/cookies.h"
#include "core/dialogs_forms.h"
#include "core/dialogs_lists.h"
#include "core/product_ids.h"
#include "core/settings.h"
#include "core/text.h"
#include "dialogs_resources.h"
#include "AllowListFile.h"
#include "frmMessage.h"
#include "win/com_ptr.h"
#include "win/file.h"
#include "win/file_problem.h"
#include "win/guid.h"

namespace vexbane::tray {
namespace {
constexpr int kTitlePoints = 13;
// The check box's own glyph is this many pixels square; the designed 132 twips would cut it.
constexpr int kCheckGlyphPixels = 13;
// The notices when the keep list cannot be read or saved. Check marks drawn without the keep
// list would save an empty one, and the cleaner would then delete what the user kept.
constexpr char kCleanTitle[] = "Clean cookies";
constexpr char kKeepListNotSaved[] =
    "The list of cookies to keep could not be saved, so nothing was cleaned.";
constexpr char kKeepListNotReadNotCleaned[] =
    "The list of cookies to keep could not be read, so nothing was cleaned.";
constexpr char kKeepTitle[] = "Keep cookies";
constexpr char kKeepListNotRead[] =
    "The list of cookies to keep could not be read; nothing can be saved or cleaned until it is.";
constexpr char kKeepListNotReadNotSaved[] = "The list of cookies to keep could not be read, so nothing was saved.";
constexpr char kKeepListNotSavedOk[] = "The list of cookies to keep could not be saved.";
constexpr char kKeepListReadOnlyNow[] =
    "The list of cookies to keep has just been read, so nothing was done. Check your choice again.";
// The empty list's explanation, inside the list's frame.
constexpr dialogs::TwipRect kNoCookiesLabel = {dialogs::kCookieList.left + 90, dialogs::kCookieList.top + 90,
                                               dialogs::kCookieList.width - 180, 600};
// The notice of a keep list that could not be read at load, shown once the manager is up.
constexpr UINT kKeepListNotReadNotice = WM_APP + 0x42;

std::vector<std::string> FileNamesIn(const std::string& folder) {
  std::vector<std::string> names;
  DWORD attributes = ::GetFileAttributesA(folder.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return names;
  WIN32_FIND_DATAA found;
  HANDLE search = ::FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.emplace_back(found.cFileName);
  } while (::FindNextFileA(search, &found));
  ::FindClose(search);
  return names;
}

std::vector<dialogs::CookieItem> ListItems(HWND list) {
  std::vector<dialogs::CookieItem> items;
  int count = static_cast<int>(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    char text[1024] = {};
    LVITEMA item = {};
    item.iSubItem = 0;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    ::SendMessageA(list, LVM_GETITEMTEXTA, i, reinterpret_cast<LPARAM>(&item));
    UINT state = static_cast<UINT>(::SendMessageA(list, LVM_GETITEMSTATE, i, LVIS_STATEIMAGEMASK));
    items.push_back({text, (state & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2)});
  }
  return items;
}

void AddListItem(HWND list, int index, const dialogs::CookieItem& cookie) {
  LVITEMA item = {};
  item.mask = LVIF_TEXT;
  item.iItem = index;
  item.pszText = const_cast<char*>(cookie.name.c_str());
  int at = static_cast<int>(::SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
  if (at < 0 || !cookie.checked) return;
  LVITEMA check = {};
  check.stateMask = LVIS_STATEIMAGEMASK;
  check.state = INDEXTOSTATEIMAGEMASK(2);
  ::SendMessageA(list, LVM_SETITEMSTATE, at, reinterpret_cast<LPARAM>(&check));
}

}  // namespace

HWND frmPopupCookie::Show(HWND owner) noexcept { return ShowNewForm<frmPopupCookie>(owner); }

bool frmPopupCookie::Form_Load(HWND owner) noexcept {
  try {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES};
    ::InitCommonControlsEx(&controls);
    const ModTray& module = Module();
    const Design design = {kClassName, IDB_COOKIE_BACK, kTitlePoints, dialogs::kEditorClient,
                           dialogs::kEditorImgBack};
    if (!OpenToolWindow(design, owner, module.lngFormLeft, module.lngFormTop)) return false;
    m_ownedByWindow = true;
    AddLabel(Label1, "Check the cookies you want to keep.", dialogs::kCookieLabel1, LabelLook::Body, false);
    AddLabel(lblAutoClean, "Auto-Clean IE Cookies When IE Exits.", dialogs::kCookieCheckLabel, LabelLook::Body,
             false);
    const DWORD child = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
    // The list never paints over the label that lies on it while it is empty.
    HWND list = AddControl(WC_LISTVIEWA, lstCookie, "",
                           child | WS_CLIPSIBLINGS | LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_SINGLESEL |
                               LVS_SHOWSELALWAYS,
                           WS_EX_CLIENTEDGE, dialogs::kCookieList);
    const COLORREF grey = RGB(dialogs::kListGrey, dialogs::kListGrey, dialogs::kListGrey);
    ::SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT,
                   LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    ::SendMessageA(list, LVM_SETBKCOLOR, 0, grey);
    ::SendMessageA(list, LVM_SETTEXTBKCOLOR, 0, grey);
    ::SendMessageA(list, LVM_SETTEXTCOLOR, 0, kListTextColour);
    // Hidden until the list is found empty; above the list, which it does not take the keyboard from.
    HWND empty = AddControl("STATIC", lblNoCookies, "", WS_CHILD | SS_LEFT | SS_NOPREFIX, 0, kNoCookiesLabel);
    ::SetWindowPos(empty, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    RECT inside = {};
    ::GetClientRect(list, &inside);
    LVCOLUMNA column = {};
    column.mask = LVCF_WIDTH;
    column.cx = inside.right - ::GetSystemMetrics(SM_CXVSCROLL);
    ::SendMessageA(list, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));

    HWND check = AddControl("BUTTON", chkAutoClean, "", child | BS_AUTOCHECKBOX, 0, dialogs::kCookieCheck);
    dialogs::PixelRect designed = dialogs::ToPixels(dialogs::kCookieCheck, Ratio().x, Ratio().y);
    int grow = kCheckGlyphPixels - designed.width;
    if (grow > 0)
      ::MoveWindow(check, designed.left - grow / 2, designed.top - grow / 2, kCheckGlyphPixels, kCheckGlyphPixels,
                   FALSE);
    AddControl("BUTTON", cmdOk, "Ok", child | BS_PUSHBUTTON, 0, dialogs::kEditorButton1);
    AddControl("BUTTON", cmdClean, "Clean", child | BS_PUSHBUTTON, 0, dialogs::kEditorButton2);
    AddControl("BUTTON", cmdExit, "Exit", child | BS_PUSHBUTTON, 0, dialogs::kEditorButton3);
    MarkMainButton();

    AssignIfConverts(intAutoClean, CRegistry().GetRegStringValue(settings::kAutoClean));
    strCookiePath = CRegistry().GetRegPathShellFolder(settings::kCookies);
    if (!LoadCookieList()) ::PostMessageA(hwnd(), kKeepListNotReadNotice, 0, 0);
    ShowAutoClean();

    m_keyboard.reset(new (std::nothrow) EditorKeyboard);
    ::ShowWindow(hwnd(), SW_SHOW);
    ::SetForegroundWindow(hwnd());
    ::SetFocus(list);
    return true;
  } catch (...) {
    return m_ownedByWindow;
  }
}

void frmPopupCookie::ShowAutoClean() noexcept {
  ::SendMessageA(Item(chkAutoClean), BM_SETCHECK, intAutoClean == 1 ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool frmPopupCookie::LoadCookieList() noexcept {
  m_keepListRead = false;
  m_keepProblem.clear();
  try {
    HWND list = Item(lstCookie);
    ::SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
    std::vector<std::string> names = dialogs::CookieNamesFromFiles(FileNamesIn(strCookiePath));
    std::string keepText;
    if (const auto path = DataFilePath(settings::kKeepListFile)) {
      win::CreateFileIfMissing(*path);
      std::string text;
      const DWORD rc = win::ReadWholeFile(*path, text);
      m_keepListRead = rc == ERROR_SUCCESS;
      if (m_keepListRead) keepText = FirstLine(text);
      else m_keepProblem = win::FileProblemText(*path, rc, false);
    }
    std::vector<dialogs::CookieItem> items = dialogs::BuildCookieList(std::move(names), keepText);
    for (size_t i = 0; i < items.size(); ++i) AddListItem(list, static_cast<int>(i), items[i]);
    HWND empty = Item(lblNoCookies);
    ::SetWindowTextA(empty, items.empty() ? dialogs::NoCookiesText(strCookiePath).c_str() : "");
    ::ShowWindow(empty, items.empty() ? SW_SHOWNA : SW_HIDE);
  } catch (...) {
  }
  return m_keepListRead;
}

bool frmPopupCookie::SaveKeepList() noexcept {
  intAutoClean = ::SendMessageA(Item(chkAutoClean), BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
  try {
    CRegistry().SetRegStringValue(settings::kAutoClean, std::to_string(intAutoClean));
    const std::string text = dialogs::KeepListFileText(ListItems(Item(lstCookie)));
    const auto path = DataFilePath(settings::kKeepListFile);
    m_saveProblem.clear();
    if (path) {
      const DWORD rc = win::ReplaceFileContents(*path, text);
      if (rc == ERROR_SUCCESS) return true;
      m_saveProblem = win::FileProblemText(*path, rc, true);
    }
  } catch (...) {
  }
  // The choice did not reach the file: the check marks go back to what the cleaner will read.
  LoadCookieList();
  return false;
}

// Check marks drawn without the keep list say nothing of what the user kept: neither "Ok" nor
// "Clean" saves them. The keep list is read again; once it can be, the list shows its check
// marks for the user to choose afresh. Either way the manager stays open after saying why.
bool frmPopupCookie::KeepListKnown(const char* title, const char* nothingDone) noexcept {
  if (m_keepListRead) return true;
  ShowMessageOver(hwnd(), title, LoadCookieList() ? kKeepListReadOnlyNow : WithCause(nothingDone, m_keepProblem), "Ok");
  return false;
}

void frmPopupCookie::cmdOk_Click() noexcept {
  if (!KeepListKnown(kKeepTitle, kKeepListNotReadNotSaved)) return;
  if (!SaveKeepList()) {
    ShowMessageOver(hwnd(), kKeepTitle, WithCause(kKeepListNotSavedOk, m_saveProblem), "Ok");
    return;
  }
  cmdExit_Click();
}

// The cleaner spares what the keep list names; cleaning after a failed save would delete the
// cookies the user has just ticked to keep. Deleting is not undone, so the user is asked first,
// told how many sites lose their cookies; only "Yes" cleans (Esc leaves the answer unset).
void frmPopupCookie::cmdClean_Click() noexcept {
  if (!KeepListKnown(kCleanTitle, kKeepListNotReadNotCleaned)) return;
  try {
    const std::string question = dialogs::CleanQuestion(ListItems(Item(lstCookie)));
    MsgVars().strMsgAnswer.clear();
    if (ShowMessageOver(hwnd(), kCleanTitle, question, "YesNo") != "Yes") return;
  } catch (...) {
    return;
  }
  if (!SaveKeepList()) {
    ShowMessageOver(hwnd(), kCleanTitle, WithCause(kKeepListNotSaved, m_saveProblem), "Ok");
    return;
  }
  cookieclient::RunCookieCleaner();
  LoadCookieList();
  try {
    AssignIfConverts(intAutoClean, CRegistry().GetRegStringValue(settings::kAutoClean));
  } catch (...) {
  }
  ShowAutoClean();
}

void frmPopupCookie::cmdExit_Click() noexcept { ::DestroyWindow(hwnd()); }

void frmPopupCookie::lblAutoClean_Click() noexcept {
  HWND check = Item(chkAutoClean);
  const bool checked = ::SendMessageA(check, BM_GETCHECK, 0, 0) == BST_CHECKED;
  ::SendMessageA(check, BM_SETCHECK, checked ? BST_UNCHECKED : BST_CHECKED, 0);
}

void frmPopupCookie::Form_Unload() noexcept {
  m_keyboard.reset();
  Module().blnCookieFormOpen = false;
}

void frmPopupCookie::OnCommand(int id, int code, HWND) noexcept {
  if (id == IDCANCEL) return cmdExit_Click();  // Esc leaves without saving, as Exit does
  // Each press of a double click toggles, as on the box itself.
  if (id == lblAutoClean && (code == STN_CLICKED || code == STN_DBLCLK)) return lblAutoClean_Click();
  if (code != BN_CLICKED) return;
  if (id == cmdOk) cmdOk_Click();
  if (id == cmdClean) cmdClean_Click();
  if (id == cmdExit) cmdExit_Click();
}

LRESULT frmPopupCookie::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
  if (msg == WM_CTLCOLORSTATIC && reinterpret_cast<HWND>(lParam) == Item(lblNoCookies))
    return ListColours(reinterpret_cast<HDC>(wParam));
  if (msg == kKeepListNotReadNotice) {
    ShowMessageOver(hwnd(), kKeepTitle, WithCause(kKeepListNotRead, m_keepProblem), "Ok");
    return 0;
  }
  return DialogForm::OnMessage(msg, wParam, lParam);
}

void frmPopupCookie::OnFinalDestroy() noexcept {
  if (m_ownedByWindow) delete this;
}

}  // namespace vexbane::tray
