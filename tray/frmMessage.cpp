// frmMessage: the tray program's own message box.
#include "frmMessage.h"

#include "core/dialogs_forms.h"
#include "dialogs_resources.h"

namespace vexbane::tray {
namespace {
constexpr int kTitlePoints = 9;
}  // namespace

MessageVariables& MsgVars() noexcept {
  static MessageVariables variables;
  return variables;
}

void frmMessage::ShowModal(HWND owner) noexcept {
  frmMessage form;
  if (!form.Form_Load(owner)) return;
  form.RunModalLoop();
  if (!form.m_closed) form.Unload();
}

bool frmMessage::Form_Load(HWND owner) noexcept {
  const MessageVariables& vars = MsgVars();
  const Design design = {kClassName, IDB_MESSAGE_BACK, kTitlePoints, dialogs::kMessageClient,
                         dialogs::kMessageImgBack};
  if (!CreateForm(design, owner, vars.lngMsgLeft, vars.lngMsgTop, 0)) return false;
  SetFormRegion();

  AddLabel(lblTitle, vars.strMsgTitle.c_str(), dialogs::kMessageTitle, LabelLook::Title, true);
  dialogs::TwipRect message = dialogs::kMessageText;
  message.top = dialogs::MessageLabelTop(vars.strMsgText, message.top, message.height);
  AddLabel(lblMessage, vars.strMsgText.c_str(), message, LabelLook::Message, true);

  dialogs::ButtonSet buttons = dialogs::ButtonsFor(vars.strMsgButtons);
  const DWORD buttonStyle = WS_CHILD | WS_TABSTOP | BS_PUSHBUTTON;
  AddControl("BUTTON", cmdYes, buttons.yesCaption.c_str(), buttonStyle | (buttons.yesVisible ? WS_VISIBLE : 0), 0,
             dialogs::kMessageYes);
  AddControl("BUTTON", cmdNo, buttons.noCaption.c_str(), buttonStyle | (buttons.noVisible ? WS_VISIBLE : 0), 0,
             dialogs::kMessageNo);
  m_mainButton = buttons.noVisible && buttons.noCaption == "Yes" ? cmdNo : cmdYes;
  MarkMainButton();
  ::MessageBeep(MB_OK);

  m_owner = owner;
  m_ownerWasEnabled = owner && ::IsWindowEnabled(owner);
  if (m_ownerWasEnabled) ::EnableWindow(owner, FALSE);
  ::ShowWindow(hwnd(), SW_SHOW);
  ::SetForegroundWindow(hwnd());
  FocusControl(Item(m_mainButton));
  return true;
}

void frmMessage::RunModalLoop() noexcept {
  MSG msg;
  while (!m_closed) {
    BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
    if (got == 0) {
      // The program is ending: the box goes, and the loop outside gets the quit as well.
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    if (got < 0) return;
    if (!m_closed && ::IsDialogMessageA(hwnd(), &msg)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
}

void frmMessage::OnCommand(int id, int code, HWND) noexcept {
  if (id == IDCANCEL) return Unload();  // Esc: closed without an answer
  if (code != BN_CLICKED) return;
  if (id == cmdYes) cmdYes_Click();
  if (id == cmdNo) cmdNo_Click();
}

void frmMessage::cmdYes_Click() noexcept {
  char caption[64] = {};
  ::GetWindowTextA(Item(cmdYes), caption, sizeof caption);
  MsgVars().strMsgAnswer = caption;
  Unload();
}

void frmMessage::cmdNo_Click() noexcept {
  char caption[64] = {};
  ::GetWindowTextA(Item(cmdNo), caption, sizeof caption);
  MsgVars().strMsgAnswer = caption;
  Unload();
}

void frmMessage::Unload() noexcept {
  // The owner is enabled again before the box goes, so that the system hands the activation
  // back to it rather than to some other program.
  if (m_ownerWasEnabled) ::EnableWindow(m_owner, TRUE);
  m_ownerWasEnabled = false;
  if (hwnd()) ::DestroyWindow(hwnd());
}

std::string ShowMessageOver(HWND ownerForm, const std::string& title, const std::string& text,
                            const std::string& buttons) noexcept {
  MessageVariables& vars = MsgVars();
  RECT r = {};
  ::GetWindowRect(ownerForm, &r);
  ScreenRatio ratio = ScreenRatio::Current();
  const dialogs::TwipRect owner = {
      dialogs::PixelsToTwips(r.left, ratio.x), dialogs::PixelsToTwips(r.top, ratio.y),
      dialogs::PixelsToTwips(r.right - r.left, ratio.x), dialogs::PixelsToTwips(r.bottom - r.top, ratio.y)};
  dialogs::TwipPoint place = dialogs::MessageBoxPlacement(owner);
  vars.lngMsgLeft = place.left;
  vars.lngMsgTop = place.top;
  try {
    vars.strMsgText = text;
    vars.strMsgTitle = title;
    vars.strMsgButtons = buttons;
  } catch (...) {
    return vars.strMsgAnswer;
  }
  frmMessage::ShowModal(ownerForm);
  try {
    return vars.strMsgAnswer;
  } catch (...) {
    return std::string();
  }
}

}  // namespace vexbane::tray
