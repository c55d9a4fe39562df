// frmRecentBlocked: the "Recently Blocked" window, which lists the last blocks and undoes one in a click.
#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "EditorKeyboard.h"
#include "FormChrome.h"

namespace vexbane::tray {

class frmRecentBlocked final : public DialogForm {
 public:
  static constexpr char kClassName[] = "VexbaneRecentBlocked";
  enum : int {
    lblTitle1 = 10,
    lblTitleBack1,
    Label1,
    lblCounts,
    lblTime,
    lblSite,
    lblWhat,
    lblWhy,
    lstBlocks,
    lblStatus,
    cmdAllowSite,
    cmdCopyAddress,
    cmdExit,
    lblOpens,
    cmdOpen,
    cmdBlockHost,
  };

  // Loads and shows the modeless window; it unloads itself (Exit, or DestroyWindow).
  // Returns the window, or null when it could not be made.
  static HWND Show(HWND owner) noexcept;
  // Shows the tray's list and counters afresh in the open window, if there is one.
  static void RefreshOpen() noexcept;

 private:
  template <typename Form>
  friend HWND ShowNewForm(HWND owner) noexcept;
  frmRecentBlocked() = default;
  bool Form_Load(HWND owner) noexcept;
  void Refresh() noexcept;
  void cmdAllowSite_Click() noexcept;
  void cmdCopyAddress_Click() noexcept;
  void cmdOpen_Click() noexcept;       // RecentBlockedOpen.cpp
  void cmdBlockHost_Click() noexcept;  // RecentBlockedOpen.cpp
  // "Allow Site" and "Copy Address" for a selected row; "Open" and "Block Host" for a selected
  // row whose target is known.
  void EnableRowButtons() noexcept;
  // The selected row's buttons and its two addresses in the status line.
  void ShowSelection() noexcept;
  void KeepOnScreen() noexcept;
  int MainButton() const noexcept override { return cmdOpen; }
  void cmdExit_Click() noexcept;
  void Form_Unload() noexcept;
  // The id of the selected row's block, 0 when no row is selected.
  uint32_t SelectedBlock() const noexcept;
  void SetStatus(const std::string& text) noexcept;
  // True when the status text has more lines than its area shows.
  bool StatusOverflows() const noexcept;
  // "Allow Site" could not be done: the status line and the program's message box say why.
  void Refused(const std::string& why) noexcept;
  void DrawRow(const DRAWITEMSTRUCT& item) noexcept;

  void OnCommand(int id, int code, HWND control) noexcept override;
  void OnUnload() noexcept override { Form_Unload(); }
  void OnFinalDestroy() noexcept override;
  LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) noexcept override;

  bool m_ownedByWindow = false;
  std::unique_ptr<EditorKeyboard> m_keyboard;  // Tab, Esc and Enter, as in the editors
};

}  // namespace vexbane::tray
