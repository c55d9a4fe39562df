// frmPopupCookie: the cookie manager, which keeps "IECookieURL.dat", sets "AutoClean" and runs CookieCleaner.
#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "EditorKeyboard.h"
#include "FormChrome.h"

namespace vexbane::tray {

class frmPopupCookie final : public DialogForm {
 public:
  static constexpr char kClassName[] = "VexbaneCookieManager";
  enum : int {
    lblTitle1 = 10,
    lblTitleBack1,
    Label1,
    lblAutoClean,
    lstCookie,
    chkAutoClean,
    cmdOk,
    cmdClean,
    cmdExit,
    lblNoCookies,  // over the empty list: why it is empty
  };

  // Loads and shows the modeless cookie manager; the window unloads itself (Ok, Exit, or
  // DestroyWindow). Returns the window, or null when it could not be made.
  static HWND Show(HWND owner) noexcept;

 private:
  template <typename Form>
  friend HWND ShowNewForm(HWND owner) noexcept;
  frmPopupCookie() = default;
  bool Form_Load(HWND owner) noexcept;
  // Lists the cookie folder, checked by the keep list; false when the keep list could not be
  // read (nothing is checked then, and nothing may be saved or cleaned on that list's strength).
  bool LoadCookieList() noexcept;
  // Stores "AutoClean" and rewrites the keep list from the check marks; false when the keep list
  // could not be written (the list then shows what the file still holds).
  bool SaveKeepList() noexcept;
  // True when the check marks show the keep list; otherwise reads it again and says, under
  // `title`, that nothing was done (`nothingDone` while it still cannot be read).
  bool KeepListKnown(const char* title, const char* nothingDone) noexcept;
  void ShowAutoClean() noexcept;
  // The label beside the caption-less box stands for its caption: a click on it toggles the box.
  void lblAutoClean_Click() noexcept;
  void cmdOk_Click() noexcept;
  void cmdClean_Click() noexcept;
  void cmdExit_Click() noexcept;
  void Form_Unload() noexcept;

  int MainButton() const noexcept override { return cmdOk; }
  void OnCommand(int id, int code, HWND control) noexcept override;
  void OnUnload() noexcept override { Form_Unload(); }
  void OnFinalDestroy() noexcept override;
  LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) noexcept override;

  int16_t intAutoClean = 0;
  std::string strCookiePath;
  bool m_keepListRead = false;  // the check marks show the keep list as last read
  std::string m_keepProblem;    // why the keep list could not be read when last tried
  std::string m_saveProblem;    // why it could not be saved when last tried
  bool m_ownedByWindow = false;
  std::unique_ptr<EditorKeyboard> m_keyboard;
};

}  // namespace vexbane::tray
