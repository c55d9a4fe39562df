// frmRecentBlocked: the "Recently Blocked" window.
#include "frmRecentBlocked.h"

#include <cstring>
#include <new>
#include <vector>

#include "AllowListFile.h"
#include "ModTray.h"
#include "core/dialogs_forms.h"
#include "core/recent_blocks.h"
#include "core/recent_blocks_status.h"
#include "core/recent_blocks_target.h"
#include "core/text_fit.h"
#include "dialogs_resources.h"
#include "frmMessage.h"

namespace vexbane::tray {
namespace {

constexpr int kTitlePoints = 13;
// Asks the open window to show the list afresh; sent on the tray's own thread only.
constexpr UINT kRefreshMessage = WM_APP + 0x31;

// Designed positions in twips, on the editors' picture stretched over a wider frame: room for
// the hosts most sites use, and for the selected row's two addresses in the status lines.
constexpr dialogs::TwipRect kClient = {0, 0, 10320, 4700};
constexpr dialogs::TwipRect kImgBack = {0, 0, 10272, 4652};
// The picture's title band grows with the taller frame: the first line stands below it.
constexpr dialogs::TwipRect kLabel1 = {480, 690, 1800, 252};
constexpr dialogs::TwipRect kCounts = {2400, 690, 7440, 252};
constexpr int32_t kListLeft = 480;
constexpr int32_t kListWidth = 9360;
constexpr int32_t kHeaderTop = 960;
constexpr int32_t kHeaderHeight = 216;
constexpr dialogs::TwipRect kList = {kListLeft, 1190, kListWidth, 1630};
// Five lines: the addresses wrap wherever they must, so both show whole.
constexpr dialogs::TwipRect kStatus = {480, 2900, 9360, 1000};
// Left edges of the five columns inside the list; the headers stand above them. "Site" and
// "Opens" each hold about thirty characters ("pagead2.googlesyndication.com") before their
// start gives way to "...".
constexpr int32_t kColumnTwips[] = {0, 840, 3780, 6720, 7860};
constexpr int kColumns = 5;
constexpr int kSiteColumn = 1;
constexpr int kOpensColumn = 2;
constexpr int32_t kColumnPadTwips = 60;
// Five buttons across the list's width, each as wide as its caption needs; "Exit" at the right.
constexpr int32_t kButtonTop = 3990;
constexpr dialogs::TwipRect kOpenButton = {480, kButtonTop, 720, 432};
constexpr dialogs::TwipRect kAllowSiteButton = {1296, kButtonTop, 1032, 432};
constexpr dialogs::TwipRect kBlockHostButton = {2424, kButtonTop, 1092, 432};
constexpr dialogs::TwipRect kCopyAddressButton = {3612, kButtonTop, 1332, 432};
constexpr dialogs::TwipRect kExitButton = {8988, kButtonTop, 852, 432};
constexpr char kNothingBlocked[] = "No window has been blocked since Internet Explorer was started.";

std::string ItemText(HWND list, int index) {
  LRESULT length = ::SendMessageA(list, LB_GETTEXTLEN, index, 0);
  if (length == LB_ERR) return std::string();
  std::string text(static_cast<size_t>(length) + 1, '\0');
  LRESULT got = ::SendMessageA(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()));
  text.resize(got == LB_ERR ? 0 : static_cast<size_t>(got));
  return text;
}

std::string CountsText(const blocks::BlockCounts& counts) {
  return "Blocked today: " + std::to_string(counts.today) + "     In all: " + std::to_string(counts.total);
}

bool PutTextOnClipboard(HWND owner, const std::string& text) noexcept {
  if (!::OpenClipboard(owner)) return false;
  bool done = false;
  if (::EmptyClipboard()) {
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, text.size() + 1);
    if (void* bytes = memory ? ::GlobalLock(memory) : nullptr) {
      std::memcpy(bytes, text.c_str(), text.size() + 1);
      ::GlobalUnlock(memory);
      // Once set, the clipboard owns the memory.
      done = ::SetClipboardData(CF_TEXT, memory) != nullptr;
    }
    if (memory && !done) ::GlobalFree(memory);
  }
  ::CloseClipboard();
  return done;
}

BOOL CALLBACK FindOpen(HWND window, LPARAM param) noexcept {
  char name[64] = {};
  if (::GetClassNameA(window, name, sizeof name) && std::strcmp(name, frmRecentBlocked::kClassName) == 0) {
    *reinterpret_cast<HWND*>(param) = window;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

HWND frmRecentBlocked::Show(HWND owner) noexcept { return ShowNewForm<frmRecentBlocked>(owner); }

void frmRecentBlocked::RefreshOpen() noexcept {
  HWND open = nullptr;
  ::EnumThreadWindows(::GetCurrentThreadId(), &FindOpen, reinterpret_cast<LPARAM>(&open));
  if (open) ::SendMessageA(open, kRefreshMessage, 0, 0);
}

bool frmRecentBlocked::Form_Load(HWND owner) noexcept {
  try {
    const ModTray& module = Module();
    const Design design = {kClassName, IDB_ADVANCED_BACK, kTitlePoints, kClient, kImgBack};
    if (!OpenToolWindow(design, owner, module.lngFormLeft, module.lngFormTop)) return false;
    m_ownedByWindow = true;
    KeepOnScreen();
    AddLabel(Label1, "Recently Blocked:", kLabel1, LabelLook::Body, false);
    AddLabel(lblCounts, "", kCounts, LabelLook::Body, false);
    static constexpr const char* kHeaders[kColumns] = {"Time", "Site", "Opens", "What", "Why"};
    static constexpr int kHeaderIds[kColumns] = {lblTime, lblSite, lblOpens, lblWhat, lblWhy};
    for (int c = 0; c < kColumns; ++c) {
      const int32_t left = kListLeft + kColumnTwips[c] + kColumnPadTwips;
      const int32_t right = c + 1 < kColumns ? kListLeft + kColumnTwips[c + 1] : kListLeft + kListWidth;
      AddLabel(kHeaderIds[c], kHeaders[c], {left, kHeaderTop, right - left, kHeaderHeight}, LabelLook::Body, false);
    }
    const DWORD child = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
    HWND list = AddControl("LISTBOX", lstBlocks, "",
                           child | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_HASSTRINGS |
                               LBS_OWNERDRAWFIXED,
                           WS_EX_CLIENTEDGE, kList);
    // Read-only text: the system wraps an address of any length at any character, and the
    // user can select it.
    AddControl("EDIT", lblStatus, "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_READONLY, 0, kStatus);
    ::ShowScrollBar(Item(lblStatus), SB_VERT, FALSE);
    AddControl("BUTTON", cmdOpen, "Open", child | BS_PUSHBUTTON, 0, kOpenButton);
    AddControl("BUTTON", cmdAllowSite, "Allow Site", child | BS_PUSHBUTTON, 0, kAllowSiteButton);
    AddControl("BUTTON", cmdBlockHost, "Block Host", child | BS_PUSHBUTTON, 0, kBlockHostButton);
    AddControl("BUTTON", cmdCopyAddress, "Copy Address", child | BS_PUSHBUTTON, 0, kCopyAddressButton);
    AddControl("BUTTON", cmdExit, "Exit", child | BS_PUSHBUTTON, 0, kExitButton);

    // Rows as tall as the list's font, with a little air.
    if (HDC dc = ::GetDC(list)) {
      HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageA(list, WM_GETFONT, 0, 0)));
      TEXTMETRICA metrics = {};
      ::GetTextMetricsA(dc, &metrics);
      ::SelectObject(dc, old);
      ::ReleaseDC(list, dc);
      ::SendMessageA(list, LB_SETITEMHEIGHT, 0, metrics.tmHeight + 3);
    }

    MarkMainButton();
    Refresh();
    // The newest block is the one the user most likely came for.
    if (::SendMessageA(list, LB_SETCURSEL, 0, 0) != LB_ERR) ShowSelection();
    m_keyboard.reset(new (std::nothrow) EditorKeyboard);
    ::ShowWindow(hwnd(), SW_SHOW);
    ::SetForegroundWindow(hwnd());
    FocusControl(list);
    return true;
  } catch (...) {
    return m_ownedByWindow;
  }
}

void frmRecentBlocked::Refresh() noexcept {
  try {
    const ModTray& module = Module();
    HWND list = Item(lstBlocks);
    const uint32_t selected = SelectedBlock();
    ::SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    ::SendMessageA(list, LB_RESETCONTENT, 0, 0);
    for (const blocks::RecentBlock& row : module.recentBlocks.Rows()) {
      LRESULT at = ::SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(blocks::RowTextWithTarget(row).c_str()));
      if (at == LB_ERR || at == LB_ERRSPACE) continue;
      ::SendMessageA(list, LB_SETITEMDATA, static_cast<WPARAM>(at), static_cast<LPARAM>(row.id));
      // The selection stays on its block while newer ones push it down.
      if (row.id == selected) ::SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(at), 0);
    }
    ::SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(list, nullptr, TRUE);
    EnableRowButtons();

    HWND counts = Item(lblCounts);
    ::SetWindowTextA(counts, CountsText(module.blockTally.Current()).c_str());
    ::InvalidateRect(counts, nullptr, FALSE);
    if (module.recentBlocks.size() == 0) {
      SetStatus(kNothingBlocked);
    } else {
      char status[sizeof kNothingBlocked] = {};
      ::GetWindowTextA(Item(lblStatus), status, sizeof status);
      if (std::strcmp(status, kNothingBlocked) == 0) SetStatus("");
    }
  } catch (...) {
  }
}

uint32_t frmRecentBlocked::SelectedBlock() const noexcept {
  HWND list = Item(lstBlocks);
  LRESULT index = ::SendMessageA(list, LB_GETCURSEL, 0, 0);
  if (index == LB_ERR) return 0;
  LRESULT id = ::SendMessageA(list, LB_GETITEMDATA, static_cast<WPARAM>(index), 0);
  return id == LB_ERR ? 0 : static_cast<uint32_t>(id);
}

void frmRecentBlocked::KeepOnScreen() noexcept {
  // The window is wider than the editors (688 pixels at 96 dots per inch): where the tray's
  // place would push its right edge off the screen it moves left, to the screen's left edge at
  // most (on a 640-pixel screen its last 48 pixels stay off).
  RECT r = {};
  ::GetWindowRect(hwnd(), &r);
  const int screen = ::GetSystemMetrics(SM_CXSCREEN);
  int left = r.left;
  if (r.right > screen) left = screen - (r.right - r.left);
  if (left < 0) left = 0;
  if (left != r.left) ::SetWindowPos(hwnd(), nullptr, left, r.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void frmRecentBlocked::ShowSelection() noexcept {
  EnableRowButtons();
  try {
    const blocks::RecentBlock* row = Module().recentBlocks.Find(SelectedBlock());
    SetStatus(row ? blocks::RowAddressesText(*row) : std::string());
  } catch (...) {
  }
}

void frmRecentBlocked::SetStatus(const std::string& text) noexcept {
  HWND status = Item(lblStatus);
  ::ShowScrollBar(status, SB_VERT, FALSE);
  ::SetWindowTextA(status, text.c_str());
  // Addresses longer than the lines hold can be scrolled to: the scroll bar shows only then.
  if (StatusOverflows()) ::ShowScrollBar(status, SB_VERT, TRUE);
  ::InvalidateRect(status, nullptr, FALSE);
}

bool frmRecentBlocked::StatusOverflows() const noexcept {
  HWND status = Item(lblStatus);
  RECT area = {};
  ::GetClientRect(status, &area);
  const LRESULT lines = ::SendMessageA(status, EM_GETLINECOUNT, 0, 0);
  const LRESULT last = ::SendMessageA(status, EM_LINEINDEX, static_cast<WPARAM>(lines > 0 ? lines - 1 : 0), 0);
  const LRESULT at = ::SendMessageA(status, EM_POSFROMCHAR, static_cast<WPARAM>(last), 0);
  // A character past the end answers -1: the line is then below the area as well.
  if (at == -1) return lines > 1;
  HDC dc = ::GetDC(status);
  TEXTMETRICA metrics = {};
  if (dc) {
    HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageA(status, WM_GETFONT, 0, 0)));
    ::GetTextMetricsA(dc, &metrics);
    ::SelectObject(dc, old);
    ::ReleaseDC(status, dc);
  }
  return static_cast<short>(HIWORD(at)) + metrics.tmHeight > area.bottom;
}

// A row is the tray's to drop while this runs: a message box, the clipboard and the file all
// let other threads' sent messages in, and a block record arriving then pushes the oldest row
// out. What the row says is copied before any of them.
void frmRecentBlocked::cmdAllowSite_Click() noexcept {
  try {
    const blocks::RecentBlock* row = Module().recentBlocks.Find(SelectedBlock());
    if (!row) {
      ShowMessageOver(hwnd(), "Allow site", "You should select one item in the list box first!", "Ok");
      return;
    }
    const std::string site = row->site;
    if (site.empty()) {
      SetStatus("This page has no site to allow.");
      return;
    }
    // Read afresh and rewrite whole, as the allow-list editor does: a list that cannot be read
    // is never overwritten.
    std::string why;
    auto entries = ReadAllowListFile(&why);
    if (!entries) return Refused(WithCause("The allow list could not be read; nothing was changed.", why));
    // What the status line will say is worked out while the row is certainly there.
    const std::string already = blocks::AllowSiteOutcomeText(*row, site, false);
    const std::string done = blocks::AllowSiteOutcomeText(*row, site, true);
    auto added = blocks::AddSiteToAllowList(*entries, site);
    if (!added) {
      SetStatus(already);
      return;
    }
    if (WriteAllowListFile(*added, &why))
      SetStatus(done);
    else
      Refused(WithCause("The allow list could not be written; nothing was changed.", why));
  } catch (...) {
  }
}

void frmRecentBlocked::Refused(const std::string& why) noexcept {
  SetStatus(why);
  ShowMessageOver(hwnd(), "Allow site", why, "Ok");
}

void frmRecentBlocked::cmdCopyAddress_Click() noexcept {
  try {
    const blocks::RecentBlock* row = Module().recentBlocks.Find(SelectedBlock());
    if (!row) {
      ShowMessageOver(hwnd(), "Copy address", "You should select one item in the list box first!", "Ok");
      return;
    }
    // Copied before the clipboard is opened: emptying it lets other threads' sent messages in,
    // and a block record arriving then may drop this row.
    const std::string address = blocks::AddressToCopy(row->record);
    const bool target = !row->record.targetUrl.empty();
    if (PutTextOnClipboard(hwnd(), address))
      SetStatus(target ? "The blocked window's address is on the clipboard." : "The page address is on the clipboard.");
    else
      SetStatus("The clipboard could not be opened.");
  } catch (...) {
  }
}

void frmRecentBlocked::cmdExit_Click() noexcept { ::DestroyWindow(hwnd()); }

void frmRecentBlocked::Form_Unload() noexcept {
  m_keyboard.reset();
  Module().blnRecentFormOpen = false;
}

void frmRecentBlocked::OnCommand(int id, int code, HWND control) noexcept {
  if (id == IDCANCEL) return cmdExit_Click();
  if (id == lstBlocks && code == LBN_SELCHANGE) return ShowSelection();
  if (code != BN_CLICKED) return;
  // A button off for want of a row does nothing, however its click arrives (Wine delivers a
  // BM_CLICK to a disabled button).
  if (control && !::IsWindowEnabled(control)) return;
  if (id == cmdAllowSite) cmdAllowSite_Click();
  if (id == cmdCopyAddress) cmdCopyAddress_Click();
  if (id == cmdExit) cmdExit_Click();
  if (id == cmdOpen) cmdOpen_Click();
  if (id == cmdBlockHost) cmdBlockHost_Click();
}

void frmRecentBlocked::DrawRow(const DRAWITEMSTRUCT& item) noexcept {
  if (item.itemID == static_cast<UINT>(-1)) return;
  HDC dc = item.hDC;
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  const COLORREF back = selected ? ::GetSysColor(COLOR_HIGHLIGHT)
                                 : RGB(dialogs::kListGrey, dialogs::kListGrey, dialogs::kListGrey);
  HBRUSH brush = ::CreateSolidBrush(back);
  if (brush) {
    ::FillRect(dc, &item.rcItem, brush);
    ::DeleteObject(brush);
  }
  HGDIOBJ oldFont = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageA(item.hwndItem, WM_GETFONT, 0, 0)));
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, selected ? ::GetSysColor(COLOR_HIGHLIGHTTEXT) : kListTextColour);
  const std::string text = ItemText(item.hwndItem, static_cast<int>(item.itemID));
  size_t start = 0;
  for (int c = 0; c < kColumns && start <= text.size(); ++c) {
    size_t tab = text.find('\t', start);
    std::string cell = text.substr(start, tab == std::string::npos ? std::string::npos : tab - start);
    start = tab == std::string::npos ? text.size() + 1 : tab + 1;
    RECT cellRect = item.rcItem;
    cellRect.left = item.rcItem.left + dialogs::TwipsToPixels(kColumnTwips[c] + kColumnPadTwips, Ratio().x);
    if (c + 1 < kColumns)
      cellRect.right = item.rcItem.left + dialogs::TwipsToPixels(kColumnTwips[c + 1], Ratio().x);
    if (c == kSiteColumn || c == kOpensColumn) {
      // A host gives way at its start: its end names the site ("...ads.example").
      cell = vexbane::text::FitKeepingEnd(cell, cellRect.right - cellRect.left, [dc](std::string_view part) {
        SIZE size = {};
        ::GetTextExtentPoint32A(dc, part.data(), static_cast<int>(part.size()), &size);
        return static_cast<int>(size.cx);
      });
    }
    ::DrawTextA(dc, cell.c_str(), static_cast<int>(cell.size()), &cellRect,
                DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
  }
  ::SelectObject(dc, oldFont);
  if (item.itemState & ODS_FOCUS) ::DrawFocusRect(dc, &item.rcItem);
}

LRESULT frmRecentBlocked::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
  if (msg == kRefreshMessage) {
    Refresh();
    return 0;
  }
  if (msg == WM_DRAWITEM) {
    const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    if (item.CtlType == ODT_LISTBOX && item.CtlID == static_cast<UINT>(lstBlocks)) {
      DrawRow(item);
      return TRUE;
    }
  }
  return DialogForm::OnMessage(msg, wParam, lParam);
}

void frmRecentBlocked::OnFinalDestroy() noexcept {
  if (m_ownedByWindow) delete this;
}

}  // namespace vexbane::tray
