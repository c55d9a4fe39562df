// Helpers of the tray suites: the tray form in this process, and its state through the window message.
#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "ModTray.h"
#include "core/tray_state.h"
#include "frmTrayForm.h"
#include "testsupport/registry_fixture.h"

namespace vexbane::tray::testing {

// Runs this thread's pending messages; a WM_QUIT left by an unloaded form is dropped.
inline void PumpMessages() {
  MSG msg;
  while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
}

inline UINT StateMessage() { return ::RegisterWindowMessageA(kTrayStateMessage); }

// The state as the form reports it to any process.
inline TrayState QueryState(HWND form) {
  DWORD_PTR result = 0;
  ::SendMessageTimeoutA(form, StateMessage(), 0, 0, SMTO_NORMAL, 5000, &result);
  return UnpackTrayState(static_cast<uint32_t>(result));
}

// Which level item is checked: 0..4, -1 for none, -2 for more than one.
inline int CheckedLevel(const TrayState& s) {
  int found = -1;
  for (int level = 0; level <= 4; ++level) {
    if (!s.levelChecked[level]) continue;
    if (found != -1) return -2;
    found = level;
  }
  return found;
}

// Which sound item is checked: 0 wave, 1 internal, 2 none; -1 none checked, -2 several.
inline int CheckedSound(const TrayState& s) {
  int found = -1;
  for (int i = 0; i < 3; ++i) {
    if (!s.soundChecked[i]) continue;
    if (found != -1) return -2;
    found = i;
  }
  return found;
}

inline std::string WindowText(HWND hwnd) {
  char text[256] = {};
  ::GetWindowTextA(hwnd, text, sizeof text);
  return text;
}

inline std::string ClassOf(HWND hwnd) {
  char name[256] = {};
  ::GetClassNameA(hwnd, name, sizeof name);
  return name;
}

inline HWND HandleFromText(const std::string& text) {
  return reinterpret_cast<HWND>(static_cast<intptr_t>(std::stol(text)));
}

inline std::string HandleText(HWND hwnd) {
  return std::to_string(static_cast<int32_t>(reinterpret_cast<intptr_t>(hwnd)));
}

inline uint16_t ItemId(TrayItem item) { return TrayMenuItemOf(item).id; }

// A fresh settings key and scratch folder, and the module variables as Main would leave them
// with the program folder and the system folder in the scratch folder.
class TrayFormFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    ModTray& m = Module();
    m = ModTray{};
    m.strAppPath = m_folder.path();
    m.strSystemDir = m_folder.path();
    m.intWinNT = 1;
    m.intPopupLevel = 2;
    // No Messenger activity unless a test asks for it.
    m_key.Set("BlockMessenger", "0");
  }
  void TearDown() override {
    m_form.reset();
    PumpMessages();
  }

  frmTrayForm& LoadForm() {
    m_form = std::make_unique<frmTrayForm>(Module());
    EXPECT_TRUE(m_form->Load());
    PumpMessages();
    return *m_form;
  }
  HWND Form() const { return m_form->hwnd(); }
  void Command(TrayItem item) { ::SendMessageA(Form(), WM_COMMAND, ItemId(item), 0); }
  void IconMessage(UINT mouseMessage) { ::SendMessageA(Form(), kTrayCallbackMessage, 0, mouseMessage); }
  TrayState State() { return QueryState(Form()); }

  vexbane::testing::ScopedProductKey m_key;
  vexbane::testing::ScopedFolder m_folder{"vexbane-tray"};
  std::unique_ptr<frmTrayForm> m_form;
};

}  // namespace vexbane::tray::testing
