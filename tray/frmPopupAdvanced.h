// frmPopupAdvanced: the list editor, over the allow list "WebSite.dat" or the Blocked Hosts list "BlockedHost.dat".
#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "EditorKeyboard.h"
#include "FormChrome.h"

namespace vexbane::tray {

struct ModTray;

// What differs between the two lists the editor keeps.
struct EditorList {
  const char* className;
  const char* fileName;
  const char* listCaption;     // Label1
  const char* keywordCaption;  // Label2
  const char* addTitle;        // the notice when "Add" finds nothing typed
  const char* addText;
  const char* removeTitle;
  const char* listName;        // in the notices of a list that could not be read or saved
  const char* listTitle;       // their title when the editor opens on an unread list
  bool ModTray::*openFlag;     // the module's flag for this window
  bool hostsOnly;              // entries are hosts: stored as the host a typed text names; no "Test"
};

class frmPopupAdvanced final : public DialogForm {
 public:
  static constexpr char kClassName[] = "VexbaneAllowList";
  static constexpr char kBlockedHostsClassName[] = "VexbaneBlockedHosts";
  static const EditorList& AllowList() noexcept;
  static const EditorList& BlockedHosts() noexcept;
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
  // The same editor over the Blocked Hosts list.
  static HWND ShowBlockedHosts(HWND owner) noexcept;

 private:
  explicit frmPopupAdvanced(const EditorList& list) noexcept : m_list(list) {}
  static HWND ShowFor(const EditorList& list, HWND owner) noexcept;
  bool Form_Load(HWND owner) noexcept;
  // Shows the file's entries; false when the file could not be read (the list is left as it was).
  bool LoadWebSites() noexcept;
  void ShowList(const std::vector<std::string>& entries) noexcept;
  // Writes `after` over the file just read as `before`, and shows what the file then holds;
  // false when it could not be written.
  // `why` receives the file's problem when the save failed.
  bool SaveWebSites(const std::vector<std::string>& before, const std::vector<std::string>& after,
                    std::string& why) noexcept;
  void cmdAdd_Click() noexcept;
  void cmdRemove_Click() noexcept;
  void cmdExit_Click() noexcept;
  void cmdTest_Click() noexcept;
  void Form_Unload() noexcept;

  int MainButton() const noexcept override { return cmdAdd; }
  void OnCommand(int id, int code, HWND control) noexcept override;
  void OnUnload() noexcept override { Form_Unload(); }
  void OnFinalDestroy() noexcept override;
  LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) noexcept override;

  const EditorList& m_list;
  bool m_ownedByWindow = false;
  std::unique_ptr<EditorKeyboard> m_keyboard;
  std::string m_loadProblem;  // why the list could not be read when the editor opened
};

}  // namespace vexbane::tray
