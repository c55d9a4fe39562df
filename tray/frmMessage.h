// frmMessage: the tray program's own message box, and the shared variables its callers fill.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "FormChrome.h"

namespace vexbane::tray {

// Shared by every caller and the box: the caller sets the first five before each showing; the
// box leaves the caption of the pressed button in strMsgAnswer.
struct MessageVariables {
  int32_t lngMsgLeft = 0;  // twips
  int32_t lngMsgTop = 0;   // twips
  std::string strMsgText;
  std::string strMsgTitle;
  std::string strMsgButtons;  // "Ok", "YesNo" or "NoYes"
  std::string strMsgAnswer;
};
MessageVariables& MsgVars() noexcept;

class frmMessage final : public DialogForm {
 public:
  static constexpr char kClassName[] = "VexbaneMessage";
  enum : int { lblTitle = 10, lblMessage = 11, cmdYes = 12, cmdNo = 13 };

  // Loads the box from the shared variables and shows it modally over `owner`; returns when the
  // box has unloaded.
  static void ShowModal(HWND owner) noexcept;

 private:
  frmMessage() = default;
  bool Form_Load(HWND owner) noexcept;
  void cmdYes_Click() noexcept;
  void cmdNo_Click() noexcept;
  void Unload() noexcept;
  void RunModalLoop() noexcept;

  // The button captioned "Ok" or "Yes": the right one in "NoYes", the left one otherwise.
  int MainButton() const noexcept override { return m_mainButton; }
  void OnCommand(int id, int code, HWND control) noexcept override;
  void OnFinalDestroy() noexcept override { m_closed = true; }

  HWND m_owner = nullptr;
  bool m_ownerWasEnabled = false;
  bool m_closed = false;
  int m_mainButton = cmdYes;
};

// The calling sequence of a form that asks: places the box over `ownerForm` (a tenth of its
// width in, a fifth of its height down), sets the texts and button set, shows the box and
// gives back the answer.
std::string ShowMessageOver(HWND ownerForm, const std::string& title, const std::string& text,
                            const std::string& buttons) noexcept;

}  // namespace vexbane::tray
