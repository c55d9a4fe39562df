// frmTrayForm: the hidden main form that owns the tray icon, its menu and the two signal buttons.
//
// Diagnostic message: the form answers the registered window message "VexbaneTrayState" with
// its state packed as in core/tray_state.h (check marks of every item, blnBlocking, the icon's
// role, whether the shell holds the icon, the blink count). Sent, the packed state is the result;
// posted with a window handle in lParam, the state is posted back to that window as wParam of
// the same message, after every message posted to the form before it.
#pragma once
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "CRegistry.h"
#include "ModTray.h"
#include "core/tray_menu.h"
#include "core/tray_rules.h"
#include "core/tray_state.h"
#include "frmAllow.h"
#include "win/unique.h"
#include "win/window.h"

namespace vexbane::tray {

inline constexpr char kTrayFormCaption[] = "Vexbane Tray Form";
inline constexpr char kTrayFormClass[] = "VexbaneTrayForm";
inline constexpr char kBrowserFrameClass[] = "IEFrame";
// The icon's notifications arrive as this message (WM_MOUSEMOVE), the mouse message in lParam.
inline constexpr UINT kTrayCallbackMessage = 0x200;
inline constexpr UINT kTrayIconId = 1;
// Control ids of the signal buttons; the menu's ids start at 100.
inline constexpr int kCmdBlockId = 1;
inline constexpr int kCmdFormId = 2;

class frmTrayForm final : public win::Window {
 public:
  explicit frmTrayForm(ModTray& module) noexcept : m_module(module) {}
  ~frmTrayForm() override;

  // Creates the window with its menu and buttons and runs Form_Load. False when the window
  // could not be made.
  bool Load() noexcept;
  // True once Form_Unload has run (the exit check or the window being closed).
  bool Unloaded() const noexcept { return m_unloaded; }

  HWND cmdBlock() const noexcept { return m_cmdBlock; }
  HWND cmdForm() const noexcept { return m_cmdForm; }
  HMENU mnuPopupTray() const noexcept { return m_popup; }
  // What the diagnostic message "VexbaneTrayState" answers: read from the real menu.
  TrayState State() const noexcept;

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) noexcept override;

 private:
  // Form events.
  void Form_Load() noexcept;
  void Form_Unload() noexcept;
  void Form_MouseMove(LPARAM lParam) noexcept;
  void Form_Resize(WINDOWPOS& pos) noexcept;
  void OnCommand(WPARAM wParam, LPARAM lParam) noexcept;
  void OnTaskbarCreated() noexcept;
  LRESULT OnStateQuery(LPARAM replyTo) noexcept;

  // Building blocks of the form.
  bool CreateButtons() noexcept;
  void FillTrayRecord() noexcept;
  void SetChecked(TrayItem item, bool checked) noexcept;
  bool IsChecked(TrayItem item) const noexcept;
  void ShowIcon(IconRole role) noexcept;
  bool NotifyIcon(DWORD message) noexcept;
  void PublishHandles() noexcept;

  // Levels, the left-click toggle, sound and help.
  void SetBlockLevel(int16_t level) noexcept;
  void mnuAllowPopup_Click() noexcept;
  void ToggleBlocking() noexcept;
  // True when every value was stored.
  bool WriteAll(const std::vector<SettingWrite>& writes) noexcept;
  // Says once a run, in the program's message box, that this account may not store a choice.
  void SettingNotStored() noexcept;
  void ShowLevel(const LevelDisplay& display) noexcept;
  void ShowStoredLevel() noexcept;
  void SetSound(SoundItem item) noexcept;
  void ShowSound(SoundItem item) noexcept;
  void mnuHelp_Click() noexcept;
  void ShowContextMenu() noexcept;

  // Messenger service.
  void mnuBlockMessenger_Click() noexcept;
  void mnuAllowMessenger_Click() noexcept;
  void RunNetCommand(const char* parameters) noexcept;
  void ShowMessengerChecks(bool block) noexcept;
  void MessengerStepAtLoad() noexcept;
  void MessengerStepAfterLoad() noexcept;

  // Signals from the browser helper.
  void cmdBlock_Click() noexcept;
  void cmdForm_Click() noexcept;
  // A block record (WM_COPYDATA): TRUE when it was well formed and taken, FALSE otherwise.
  LRESULT OnBlockRecord(HWND sender, const COPYDATASTRUCT* data) noexcept;
  // The helper's request (WM_COPYDATA kCleanCookiesTag) to run the automatic cookie clean.
  LRESULT OnCleanRequest(HWND sender) noexcept;
  void LoadBlockCounts() noexcept;

  ModTray& m_module;
  TrayIcons m_icons;
  win::UniqueMenu m_menuBar;  // holds "PopupTray"; never shown as a bar
  HMENU m_popup = nullptr;    // owned by m_menuBar
  HWND m_cmdBlock = nullptr;  // children go with the form
  HWND m_cmdForm = nullptr;
  UINT m_taskbarCreated = 0;
  UINT m_stateMessage = 0;

  bool blnBlocking = false;
  std::optional<CRegistry> objRegistry;
  int16_t intBlockMessenger = 0;
  int32_t lngLastBlink = 0;

  IconRole m_iconRole = IconRole::Blocking;
  bool m_iconInTray = false;
  bool m_messengerItemsShown = false;
  bool m_loaded = false;
  bool m_unloaded = false;
  bool m_toldSettingNotStored = false;
  uint8_t m_blinks = 0;
};

}  // namespace vexbane::tray
