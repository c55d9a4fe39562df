// frmPopupAdvanced: the allow-list editor.
#include "frmPopupAdvanced.h"

#include <new>
#include <vector>

#include "AllowListFile.h"
#include "ModTray.h"
#include "core/allow_list.h"
#include "core/allow_list_probe.h"
#include "core/block_record_v2.h"
#include "core/blocked_hosts.h"
#include "core/dialogs_forms.h"
#include "core/dialogs_lists.h"
#include "core/settings.h"
#include "dialogs_resources.h"
#include "frmMessage.h"

namespace vexbane::tray {
namespace {
constexpr int kTitlePoints = 13;
// The keyword box makes room for "Test" beside it; the answer stands in the strip between the
// list and the keyword row, where the wrapped keyword label cannot cover it.
constexpr dialogs::TwipRect kKeywordBox = {1920, 2820, 3012, 288};
constexpr dialogs::TwipRect kTestButton = {5040, 2790, 852, 348};
constexpr dialogs::TwipRect kTestAnswer = {480, 2616, 5412, 204};
// The Blocked Hosts list has no "Test": its box takes the row.
constexpr dialogs::TwipRect kHostBox = {1920, 2820, 3972, 288};
// The notice of a list that could not be read at load, shown once the editor is up.
constexpr UINT kListNotReadNotice = WM_APP + 0x41;

// "The allow list could not be read; nothing was added." and its kin, then the file and the
// likely cause.
std::string ListNotice(const EditorList& list, const char* failed, const char* outcome, const std::string& why) {
  return WithCause(std::string("The ") + list.listName + " could not be " + failed + "; " + outcome, why);
}

std::string ListItemText(HWND list, int index) {
  LRESULT length = ::SendMessageA(list, LB_GETTEXTLEN, index, 0);
  if (length == LB_ERR) return std::string();
  std::string text(static_cast<size_t>(length) + 1, '\0');
  LRESULT got = ::SendMessageA(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()));
  text.resize(got == LB_ERR ? 0 : static_cast<size_t>(got));
  return text;
}
}  // namespace

const EditorList& frmPopupAdvanced::AllowList() noexcept {
  static const EditorList list = {kClassName,
                                  settings::kAllowListFile,
                                  "Allow List:",
                                  "Web Site Keyword:",
                                  "Add web site",
                                  "You shoud type a web site address first.",
                                  "Remove web site",
                                  "allow list",
                                  "Allow list",
                                  &ModTray::blnAllowListFormOpen,
                                  false};
  return list;
}

const EditorList& frmPopupAdvanced::BlockedHosts() noexcept {
  static const EditorList list = {kBlockedHostsClassName,
                                  settings::kBlockedHostFile,
                                  "Blocked Hosts:",
                                  "Host:",
                                  "Add host",
                                  "You should type a host first.",
                                  "Remove host",
                                  "Blocked Hosts list",
                                  "Blocked Hosts",
                                  &ModTray::blnBlockedHostsFormOpen,
                                  true};
  return list;
}

HWND frmPopupAdvanced::Show(HWND owner) noexcept { return ShowFor(AllowList(), owner); }

HWND frmPopupAdvanced::ShowBlockedHosts(HWND owner) noexcept { return ShowFor(BlockedHosts(), owner); }

HWND frmPopupAdvanced::ShowFor(const EditorList& list, HWND owner) noexcept {
  auto* form = new (std::nothrow) frmPopupAdvanced(list);
  if (!form) return nullptr;
  if (!form->Form_Load(owner)) {
    delete form;
    return nullptr;
  }
  return form->hwnd();
}

bool frmPopupAdvanced::Form_Load(HWND owner) noexcept {
  try {
    const ModTray& module = Module();
    const Design design = {m_list.className, IDB_ADVANCED_BACK, kTitlePoints, dialogs::kEditorClient,
                           dialogs::kEditorImgBack};
    if (!OpenToolWindow(design, owner, module.lngFormLeft, module.lngFormTop)) return false;
    m_ownedByWindow = true;

    AddLabel(Label1, m_list.listCaption, dialogs::kAdvancedLabel1, LabelLook::Body, false);
    AddLabel(Label2, m_list.keywordCaption, dialogs::kAdvancedLabel2, LabelLook::Body, false);
    const DWORD child = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
    // Not LBS_SORT: the system's order follows the locale, the helper takes the first matching
    // entry in the file's order, and "Test" must name the entry that decides. The list shows
    // the file's order; "Add" keeps it sorted by the same rule everywhere (dialogs::InsertSorted).
    AddControl("LISTBOX", lstURL, "", child | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_HASSTRINGS,
               WS_EX_CLIENTEDGE, dialogs::kAdvancedList);
    AddControl("EDIT", txtWebSite, "", child | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE,
               m_list.hostsOnly ? kHostBox : kKeywordBox);
    // "Test" stands beside the keyword box, so Tab reaches it right after the box.
    if (!m_list.hostsOnly) {
      AddControl("BUTTON", cmdTest, "Test", child | BS_PUSHBUTTON, 0, kTestButton);
      AddLabel(lblTest, "", kTestAnswer, LabelLook::Body, false);
    }
    AddControl("BUTTON", cmdAdd, "Add", child | BS_PUSHBUTTON, 0, dialogs::kEditorButton1);
    AddControl("BUTTON", cmdRemove, "Remove", child | BS_PUSHBUTTON, 0, dialogs::kEditorButton2);
    AddControl("BUTTON", cmdExit, "Exit", child | BS_PUSHBUTTON, 0, dialogs::kEditorButton3);
    MarkMainButton();

    // Shown from the editor's own message, as a click's notice is, once the load is over.
    if (!LoadWebSites()) ::PostMessageA(hwnd(), kListNotReadNotice, 0, 0);
    m_keyboard.reset(new (std::nothrow) EditorKeyboard);
    ::ShowWindow(hwnd(), SW_SHOW);
    ::SetForegroundWindow(hwnd());
    FocusControl(Item(txtWebSite));
    return true;
  } catch (...) {
    return m_ownedByWindow;
  }
}

bool frmPopupAdvanced::LoadWebSites() noexcept {
  try {
    m_loadProblem.clear();
    auto entries = ReadListFile(m_list.fileName, &m_loadProblem);
    if (!entries) return false;
    ShowList(*entries);
    return true;
  } catch (...) {
    return false;
  }
}

void frmPopupAdvanced::ShowList(const std::vector<std::string>& entries) noexcept {
  HWND list = Item(lstURL);
  ::SendMessageA(list, LB_RESETCONTENT, 0, 0);
  for (const std::string& entry : entries)
    ::SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
}

// Every change is made to the file as it is now, read afresh: a list that could not be read
// when the editor opened, or that another window ("Allow Site", "Block Host") changed since, is
// never overwritten by what this window shows.
bool frmPopupAdvanced::SaveWebSites(const std::vector<std::string>& before, const std::vector<std::string>& after,
                                    std::string& why) noexcept {
  const bool saved = WriteListFile(m_list.fileName, after, &why);
  ShowList(saved ? after : before);
  return saved;
}

void frmPopupAdvanced::cmdAdd_Click() noexcept {
  HWND text = Item(txtWebSite);
  try {
    char typed[1024] = {};
    ::GetWindowTextA(text, typed, sizeof typed);
    auto keyword = dialogs::KeywordToAdd(typed);
    // A line break or other control byte would split the entry in the file.
    if (keyword && blocks::HasControlBytes(*keyword)) keyword.reset();
    if (keyword && m_list.hostsOnly) {
      const std::string host = blocks::HostOfEntry(*keyword);
      keyword = host.empty() ? std::nullopt : std::optional<std::string>(host);
    }
    if (keyword) {
      std::string why;
      auto entries = ReadListFile(m_list.fileName, &why);
      if (!entries)
        ShowMessageOver(hwnd(), m_list.addTitle, ListNotice(m_list, "read", "nothing was added.", why), "Ok");
      else if (!SaveWebSites(*entries, dialogs::InsertSorted(*entries, *keyword), why))
        ShowMessageOver(hwnd(), m_list.addTitle, ListNotice(m_list, "saved", "nothing was added.", why), "Ok");
    } else {
      ShowMessageOver(hwnd(), m_list.addTitle, m_list.addText, "Ok");
    }
  } catch (...) {
  }
  ::SetWindowTextA(text, "");
  ::SetFocus(text);
}

void frmPopupAdvanced::cmdRemove_Click() noexcept {
  HWND list = Item(lstURL);
  LRESULT selected = ::SendMessageA(list, LB_GETCURSEL, 0, 0);
  if (selected == LB_ERR) {
    ShowMessageOver(hwnd(), m_list.removeTitle, "You should select one item in the list box first!", "Ok");
    return;
  }
  try {
    const std::string shown = ListItemText(list, static_cast<int>(selected));
    std::string why;
    auto entries = ReadListFile(m_list.fileName, &why);
    if (!entries) {
      ShowMessageOver(hwnd(), m_list.removeTitle, ListNotice(m_list, "read", "nothing was removed.", why), "Ok");
      return;
    }
    auto remaining = dialogs::RemoveShownEntry(*entries, static_cast<size_t>(selected), shown);
    if (!remaining) {
      ShowList(*entries);  // another window removed it already
      return;
    }
    if (!SaveWebSites(*entries, *remaining, why))
      ShowMessageOver(hwnd(), m_list.removeTitle, ListNotice(m_list, "saved", "nothing was removed.", why), "Ok");
  } catch (...) {
  }
}

void frmPopupAdvanced::cmdExit_Click() noexcept { ::DestroyWindow(hwnd()); }

void frmPopupAdvanced::cmdTest_Click() noexcept {
  try {
    // The list box holds what the file held when last read or saved, in the file's order: the
    // order the helper reads.
    HWND list = Item(lstURL);
    LRESULT count = ::SendMessageA(list, LB_GETCOUNT, 0, 0);
    std::vector<std::string> entries;
    for (int i = 0; i < count; ++i) entries.push_back(ListItemText(list, i));
    char typed[2100] = {};
    ::GetWindowTextA(Item(txtWebSite), typed, sizeof typed);
    HWND answer = Item(lblTest);
    ::SetWindowTextA(answer, AddressTestMessage(entries, typed).c_str());
    ::InvalidateRect(answer, nullptr, FALSE);
  } catch (...) {
  }
}

void frmPopupAdvanced::Form_Unload() noexcept {
  m_keyboard.reset();
  Module().*m_list.openFlag = false;
}

void frmPopupAdvanced::OnCommand(int id, int code, HWND) noexcept {
  // Enter presses the button that holds the keyboard, else "Add" (EnterButton); an IDOK from
  // a dialog manager that did not ask still adds from the keyword box. Esc leaves the editor,
  // as Exit does.
  if (id == IDOK && ::GetFocus() == Item(txtWebSite)) return cmdAdd_Click();
  if (id == IDCANCEL) return cmdExit_Click();
  if (code != BN_CLICKED) return;
  if (id == cmdAdd) cmdAdd_Click();
  if (id == cmdRemove) cmdRemove_Click();
  if (id == cmdExit) cmdExit_Click();
  if (id == cmdTest && !m_list.hostsOnly) cmdTest_Click();
}

LRESULT frmPopupAdvanced::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
  if (msg == kListNotReadNotice) {
    try {
      ShowMessageOver(hwnd(), m_list.listTitle,
                      ListNotice(m_list, "read", "nothing can be changed until it can.", m_loadProblem), "Ok");
    } catch (...) {
    }
    return 0;
  }
  return DialogForm::OnMessage(msg, wParam, lParam);
}

void frmPopupAdvanced::OnFinalDestroy() noexcept {
  if (m_ownedByWindow) delete this;
}

}  // namespace vexbane::tray
