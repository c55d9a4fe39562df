// frmTrayForm: creation, Form_Load, Form_Unload, the icon's notifications and message dispatch.
#include "frmTrayForm.h"

#include <shellapi.h>

#include <cstring>

#include "ToolWindows.h"
#include "TrayMenu.h"
#include "core/settings.h"

namespace vexbane::tray {
namespace {

// The ANSI record of the first shell version: 88 bytes on 32-bit Windows. The 64-bit test
// build uses the same layout's size on that word size (NOTIFYICONDATAA_V1_SIZE is 104 there).
constexpr DWORD kTrayRecordSize = NOTIFYICONDATAA_V1_SIZE;
#if !defined(_WIN64)
static_assert(kTrayRecordSize == 88, "the tray record is the 88-byte ANSI NOTIFYICONDATA");
#endif
constexpr UINT kTrayFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;  // 7
constexpr char kTrayTip[] = "Vexbane";

// Buttons in twips, as the form was designed.
constexpr int32_t kButtonWidthTwips = 972;
constexpr int32_t kButtonHeightTwips = 252;
constexpr int32_t kCmdFormTopTwips = 300;

// Window handles cross processes as decimal text of their 32-bit value.
std::string HandleText(HWND hwnd) {
  return std::to_string(static_cast<int32_t>(reinterpret_cast<intptr_t>(hwnd)));
}

double ScreenTwipsPerPixel(int index) noexcept {
  HDC screen = ::GetDC(nullptr);
  int dpi = screen ? ::GetDeviceCaps(screen, index) : 0;
  if (screen) ::ReleaseDC(nullptr, screen);
  return TwipsPerPixel(dpi);
}

}  // namespace

frmTrayForm::~frmTrayForm() {
  // A form destroyed without unloading (a test, or the loop ending early) still takes its icon.
  if (m_iconInTray) NotifyIcon(NIM_DELETE);
}

bool frmTrayForm::Load() noexcept {
  m_taskbarCreated = ::RegisterWindowMessageA("TaskbarCreated");
  m_stateMessage = ::RegisterWindowMessageA(kTrayStateMessage);
  m_menuBar = BuildTrayMenu(m_module.intWinNT, m_popup);
  m_messengerItemsShown = m_module.intWinNT == 1;
  HWND hwnd = CreateWindowFor(kTrayFormClass, kTrayFormCaption, WS_OVERLAPPEDWINDOW, 0, CW_USEDEFAULT, 0,
                              CW_USEDEFAULT, 0, nullptr, m_icons.BlockingLarge());
  if (!hwnd) return false;
  ::SendMessageA(hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_icons.Blocking()));
  CreateButtons();
  Form_Load();
  return true;
}

bool frmTrayForm::CreateButtons() noexcept {
  const double tppX = ScreenTwipsPerPixel(LOGPIXELSX);
  const double tppY = ScreenTwipsPerPixel(LOGPIXELSY);
  const int width = TwipsToPixels(kButtonWidthTwips, tppX);
  const int height = TwipsToPixels(kButtonHeightTwips, tppY);
  const DWORD style = WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON;
  // Under a hidden parent a posted BM_CLICK still reaches the parent as BN_CLICKED (checked
  // under Wine and relied on by the helper), so the buttons are plain system buttons.
  m_cmdBlock = ::CreateWindowExA(0, "BUTTON", "Block", style, 0, 0, width, height, hwnd(),
                                 reinterpret_cast<HMENU>(static_cast<intptr_t>(kCmdBlockId)), win::ThisModule(),
                                 nullptr);
  m_cmdForm = ::CreateWindowExA(0, "BUTTON", "Form Close", style, 0, TwipsToPixels(kCmdFormTopTwips, tppY), width,
                                height, hwnd(), reinterpret_cast<HMENU>(static_cast<intptr_t>(kCmdFormId)),
                                win::ThisModule(), nullptr);
  return m_cmdBlock && m_cmdForm;
}

void frmTrayForm::FillTrayRecord() noexcept {
  NOTIFYICONDATAA& nid = m_module.nidTray;
  std::memset(&nid, 0, sizeof nid);
  nid.cbSize = kTrayRecordSize;
  nid.hWnd = hwnd();
  nid.uID = kTrayIconId;
  nid.uFlags = kTrayFlags;
  nid.uCallbackMessage = kTrayCallbackMessage;
  nid.hIcon = m_icons.Blocking();
  // 64 characters: the tip, its NUL, then spaces as the record was always filled.
  std::memset(nid.szTip, ' ', 64);
  std::memcpy(nid.szTip, kTrayTip, sizeof kTrayTip);
  m_iconRole = IconRole::Blocking;
}

void frmTrayForm::Form_Load() noexcept {
  // 1. Shown and repainted as any form is; Form_Resize keeps it from appearing. Shown without
  // activation: a plain show would take the foreground from the browser that started us.
  ::ShowWindow(hwnd(), SW_SHOWNA);
  ::UpdateWindow(hwnd());
  // 2.
  FillTrayRecord();
  // 3-4. The level read at start-up decides the first check mark and icon.
  ShowLevel(DisplayForLevel(m_module.intPopupLevel));
  // 5.
  objRegistry.emplace();
  // The counters go on from what earlier runs stored.
  LoadBlockCounts();
  // 6.
  ShowSound(SoundItemFromText(objRegistry->GetRegStringValue(settings::kSound)));
  // 7.
  MessengerStepAtLoad();
  // 8.
  m_iconInTray = NotifyIcon(NIM_ADD);
  // 9. The foreground stays with the browser window that started the program: Windows 95 and
  // NT 4.0 would hand it to this hidden form, and the keys the user types would go nowhere.
  // 10.
  PublishHandles();
  // 11.
  ::ShowWindow(hwnd(), SW_HIDE);
  m_loaded = true;
  // 12.
  if (m_module.intWinNT == 1) MessengerStepAfterLoad();
}

void frmTrayForm::PublishHandles() noexcept {
  if (!objRegistry) return;
  objRegistry->SetRegStringValue(settings::kHForm, HandleText(m_cmdForm));
  objRegistry->SetRegStringValue(settings::kHButton, HandleText(m_cmdBlock));
}

void frmTrayForm::Form_Unload() noexcept {
  if (m_unloaded) return;
  m_unloaded = true;
  // 1-2.
  UnloadToolWindows();
  // 3. "hButton" keeps its value: the helper must not take a stale "hForm" for a live tray.
  if (objRegistry) objRegistry->SetRegStringValue(settings::kHForm, "0");
  // 4.
  objRegistry.reset();
  // 5.
  if (m_iconInTray) NotifyIcon(NIM_DELETE);
  m_iconInTray = false;
  // 6. The message loop ends with the form, and the process with the loop.
  if (hwnd()) ::DestroyWindow(hwnd());
  ::PostQuitMessage(0);
}

bool frmTrayForm::NotifyIcon(DWORD message) noexcept {
  return ::Shell_NotifyIconA(message, &m_module.nidTray) != FALSE;
}

void frmTrayForm::ShowIcon(IconRole role) noexcept {
  m_iconRole = role;
  m_module.nidTray.hIcon = role == IconRole::Allowing ? m_icons.Allowing() : m_icons.Blocking();
}

void frmTrayForm::SetChecked(TrayItem item, bool checked) noexcept {
  ::CheckMenuItem(m_popup, TrayMenuItemOf(item).id, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

bool frmTrayForm::IsChecked(TrayItem item) const noexcept {
  UINT state = ::GetMenuState(m_popup, TrayMenuItemOf(item).id, MF_BYCOMMAND);
  return state != static_cast<UINT>(-1) && (state & MF_CHECKED);
}

TrayState frmTrayForm::State() const noexcept {
  TrayState s;
  for (int level = 0; level <= 4; ++level) s.levelChecked[level] = IsChecked(LevelItem(level));
  s.soundChecked[0] = IsChecked(TrayItem::mnuWaveSound);
  s.soundChecked[1] = IsChecked(TrayItem::mnuInternalSound);
  s.soundChecked[2] = IsChecked(TrayItem::mnuNoSound);
  s.blockMessengerChecked = IsChecked(TrayItem::mnuBlockMessenger);
  s.allowMessengerChecked = IsChecked(TrayItem::mnuAllowMessenger);
  s.messengerItemsShown = m_messengerItemsShown;
  s.blnBlocking = blnBlocking;
  s.icon = m_iconRole;
  s.iconInTray = m_iconInTray;
  s.blinks = m_blinks;
  return s;
}

LRESULT frmTrayForm::OnStateQuery(LPARAM replyTo) noexcept {
  const uint32_t packed = PackTrayState(State());
  // Posted with a window in lParam, the answer is posted back, so it is ordered after every
  // message that the asker posted before: a test can wait for its own commands to be handled.
  if (replyTo && !::InSendMessage())
    ::PostMessageA(reinterpret_cast<HWND>(replyTo), m_stateMessage, static_cast<WPARAM>(packed), 0);
  return static_cast<LRESULT>(packed);
}

void frmTrayForm::Form_MouseMove(LPARAM lParam) noexcept {
  switch (DecodeTrayCallback(static_cast<uint64_t>(lParam))) {
    case TrayCallbackAction::Toggle: ToggleBlocking(); break;
    case TrayCallbackAction::ShowMenu: ShowContextMenu(); break;
    case TrayCallbackAction::None: break;
  }
}

void frmTrayForm::ShowContextMenu() noexcept {
  // Without the foreground the menu would not close when the user clicks elsewhere.
  ::SetForegroundWindow(hwnd());
  POINT at = {};
  ::GetCursorPos(&at);
  ::TrackPopupMenu(m_popup, TPM_LEFTALIGN, at.x, at.y, 0, hwnd(), nullptr);
  // The shell's advice for tray menus: a message after the menu lets a second one open at once.
  ::PostMessageA(hwnd(), WM_NULL, 0, 0);
}

void frmTrayForm::Form_Resize(WINDOWPOS& pos) noexcept {
  // The form exists only to own the icon: any attempt to show it is turned into staying hidden.
  pos.flags &= ~static_cast<UINT>(SWP_SHOWWINDOW);
}

void frmTrayForm::OnTaskbarCreated() noexcept {
  // Explorer restarted and forgot every icon: put ours back as it stands now.
  if (!m_loaded || m_unloaded) return;
  m_iconInTray = NotifyIcon(NIM_ADD);
}

void frmTrayForm::OnCommand(WPARAM wParam, LPARAM lParam) noexcept {
  HWND control = reinterpret_cast<HWND>(lParam);
  if (control) {
    if (HIWORD(wParam) != BN_CLICKED) return;
    if (control == m_cmdBlock) cmdBlock_Click();
    else if (control == m_cmdForm) cmdForm_Click();
    return;
  }
  const TrayMenuItem* item = FindTrayMenuItem(LOWORD(wParam));
  if (!item || item->separator) return;
  if (item->messengerOnly && m_module.intWinNT != 1) return;
  switch (item->item) {
    case TrayItem::mnuHelp: mnuHelp_Click(); break;
    case TrayItem::mnuCookie: mnuCookie_Click(hwnd()); break;
    case TrayItem::mnuWhiteList: mnuWhiteList_Click(hwnd()); break;
    case TrayItem::mnuRecentBlocked: mnuRecentBlocked_Click(hwnd()); break;
    case TrayItem::mnuBlockedHosts: mnuBlockedHosts_Click(hwnd()); break;
    case TrayItem::mnuWaveSound: SetSound(SoundItem::WaveSound); break;
    case TrayItem::mnuInternalSound: SetSound(SoundItem::InternalSound); break;
    case TrayItem::mnuNoSound: SetSound(SoundItem::NoSound); break;
    case TrayItem::mnuBlockMessenger: mnuBlockMessenger_Click(); break;
    case TrayItem::mnuAllowMessenger: mnuAllowMessenger_Click(); break;
    case TrayItem::mnuBlockAllPopup: SetBlockLevel(4); break;
    case TrayItem::mnuBlockAdPopupHigh: SetBlockLevel(3); break;
    case TrayItem::mnuBlockAdPopupDefault: SetBlockLevel(2); break;
    case TrayItem::mnuBlockAdPopupLow: SetBlockLevel(1); break;
    case TrayItem::mnuAllowPopup: mnuAllowPopup_Click(); break;
    default: break;
  }
}

LRESULT frmTrayForm::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
  if (msg == m_stateMessage && m_stateMessage) return OnStateQuery(lParam);
  if (msg == m_taskbarCreated && m_taskbarCreated) {
    OnTaskbarCreated();
    return 0;
  }
  switch (msg) {
    case kTrayCallbackMessage:
      Form_MouseMove(lParam);
      return 0;
    case WM_COMMAND:
      OnCommand(wParam, lParam);
      return 0;
    case WM_COPYDATA:
      return OnBlockRecord(reinterpret_cast<HWND>(wParam), reinterpret_cast<const COPYDATASTRUCT*>(lParam));
    case WM_WINDOWPOSCHANGING:
      Form_Resize(*reinterpret_cast<WINDOWPOS*>(lParam));
      return Default(msg, wParam, lParam);
    case WM_CLOSE:
      Form_Unload();
      return 0;
    case WM_ENDSESSION:
      if (wParam) Form_Unload();
      return 0;
    default:
      return Default(msg, wParam, lParam);
  }
}

}  // namespace vexbane::tray
