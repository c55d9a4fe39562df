// frmPopupAdvanced: the allow-list editor, which keeps "WebSite.dat" in the program folder.
#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "EditorKeyboard.h"
#include "FormChrome.h"

namespace vexbane::tray {

class frmPopupAdvanced final : public DialogForm {
 public:
  static constexpr char kClassName[] = "VexbaneAllowList";
  enum : int {
    lblTitle1 = 10,
    lblTitleBack1,
    Label1,
    Label2,
    lstURL,
    txtWebSite,
    cmdAdd,
    cmdRemove,
    cmdExit,
    cmdTest,
    lblTest,
  };

  // Loads and shows the modeless editor; the window unloads itself (Exit, or DestroyWindow).
  // Returns the window, or null when it could not be made.
  static HWND Show(HWND owner) noexcept;

 private:
  template <typename Form>
  friend HWND ShowNewForm(HWND owner) noexcept;
  frmPopupAdvanced() = default;
  bool Form_Load(HWND owner) noexcept;
  // Shows the file's entries; false when the file could not be read (the list is left as it was).
  bool LoadWebSites() noexcept;
  void ShowList(const std::vector<std::string>& entries) noexcept;
  // Writes `after` over the file just read as `before`, and shows what the file then holds;
  // false when it could not be written.
  bool SaveWebSites(const std::vector<std::string>& before, const std::vector<std::string>& after) noexcept;
  void cmdAdd_Click() noexcept;
  void cmdRemove_Click() noexcept;
  void cmdExit_Click() noexcept;
  void cmdTest_Click() noexcept;
  void Form_Unload() noexcept;

  void OnCommand(int id, int code, HWND control) noexcept override;
  void OnUnload() noexcept override { Form_Unload(); }
  void OnFinalDestroy() noexcept override;
  LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) noexcept override;

  bool m_ownedByWindow = false;
  std::unique_ptr<EditorKeyboard> m_keyboard;
};

}  // namespace vexbane::tray
