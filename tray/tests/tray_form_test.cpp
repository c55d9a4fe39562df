// frmTrayForm in this process: its window, menu, Form_Load, commands, toggle and Form_Unload.
#include <windows.h>

#include <gtest/gtest.h>

#include <shellapi.h>

#include <vector>

#include "dialogs_helpers.h"
#include "frmMessage.h"
#include "tray_test_support.h"

namespace vexbane::tray::testing {
namespace {

std::vector<std::string> MenuCaptions(HMENU menu) {
  std::vector<std::string> captions;
  int count = ::GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    MENUITEMINFOA info = {sizeof info};
    char text[128] = {};
    info.fMask = MIIM_FTYPE | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = sizeof text;
    ::GetMenuItemInfoA(menu, i, TRUE, &info);
    captions.push_back((info.fType & MFT_SEPARATOR) ? "-" : text);
  }
  return captions;
}

// Wine's notification area hides its own window when its last icon goes, which takes it two
// seconds each time; an icon of the suite's own for its whole run keeps every removal quick.
class NotificationAreaKeeper : public ::testing::Environment {
 public:
  void SetUp() override {
    m_window = ::CreateWindowExA(0, "STATIC", "keeper", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    m_nid.cbSize = NOTIFYICONDATAA_V1_SIZE;
    m_nid.hWnd = m_window;
    m_nid.uID = 99;
    m_nid.uFlags = NIF_ICON;
    m_nid.hIcon = ::LoadIconA(nullptr, MAKEINTRESOURCEA(32512));  // IDI_APPLICATION
    ::Shell_NotifyIconA(NIM_ADD, &m_nid);
  }
  void TearDown() override {
    ::Shell_NotifyIconA(NIM_DELETE, &m_nid);
    ::DestroyWindow(m_window);
  }

 private:
  HWND m_window = nullptr;
  NOTIFYICONDATAA m_nid = {};
};

::testing::Environment* const g_keeper = ::testing::AddGlobalTestEnvironment(new NotificationAreaKeeper);

using TrayForm = TrayFormFixture;

TEST_F(TrayForm, MenuHoldsEveryItemInOrder) {
  frmTrayForm& form = LoadForm();
  std::vector<std::string> expected{"Help", "Cookie Manager", "Allow List", "Recently Blocked", "Blocked Hosts", "-", "Wave Sound",
                                    "Internal Sound",
                                    "No Sound", "-", "Block Messenger Popup", "Allow Messenger Popup", "-",
                                    "Block All Popup", "Block Ad Popup-High", "Block Ad Popup-Default",
                                    "Block Ad Popup-Low", "Allow Popup"};
  EXPECT_EQ(MenuCaptions(form.mnuPopupTray()), expected);
  EXPECT_TRUE(State().messengerItemsShown);
}

TEST_F(TrayForm, Windows9xMenuHasNoMessengerItemsAndTouchesNoService) {
  Module().intWinNT = 0;
  m_key.Set("BlockMessenger", "2");
  frmTrayForm& form = LoadForm();
  std::vector<std::string> expected{"Help", "Cookie Manager", "Allow List", "Recently Blocked", "Blocked Hosts", "-", "Wave Sound",
                                    "Internal Sound",
                                    "No Sound", "-", "Block All Popup", "Block Ad Popup-High",
                                    "Block Ad Popup-Default", "Block Ad Popup-Low", "Allow Popup"};
  EXPECT_EQ(MenuCaptions(form.mnuPopupTray()), expected);
  TrayState s = State();
  EXPECT_FALSE(s.messengerItemsShown);
  EXPECT_FALSE(s.blockMessengerChecked);
  EXPECT_EQ(m_key.Get("BlockMessenger"), "2");
  // A Messenger command that reached the form anyway does nothing there.
  Command(TrayItem::mnuAllowMessenger);
  EXPECT_EQ(m_key.Get("BlockMessenger"), "2");
}

TEST_F(TrayForm, HiddenFormOwnsTheTwoButtonsAndPublishesThem) {
  frmTrayForm& form = LoadForm();
  EXPECT_EQ(WindowText(Form()), "Vexbane Tray Form");
  EXPECT_FALSE(::IsWindowVisible(Form()));
  // Any attempt to show the form leaves it hidden.
  ::ShowWindow(Form(), SW_SHOWNORMAL);
  EXPECT_FALSE(::IsWindowVisible(Form()));

  ASSERT_TRUE(::IsWindow(form.cmdBlock()));
  ASSERT_TRUE(::IsWindow(form.cmdForm()));
  EXPECT_EQ(::GetParent(form.cmdBlock()), Form());
  EXPECT_EQ(::GetParent(form.cmdForm()), Form());
  EXPECT_EQ(WindowText(form.cmdBlock()), "Block");
  EXPECT_EQ(WindowText(form.cmdForm()), "Form Close");
  EXPECT_EQ(ClassOf(form.cmdBlock()), "Button");
  EXPECT_EQ(m_key.Get("hForm"), HandleText(form.cmdForm()));
  EXPECT_EQ(m_key.Get("hButton"), HandleText(form.cmdBlock()));

  // Twips as designed, at the screen's own density: "Form Close" sits 300 twips below "Block".
  HDC screen = ::GetDC(nullptr);
  double tpp = 1440.0 / ::GetDeviceCaps(screen, LOGPIXELSY);
  ::ReleaseDC(nullptr, screen);
  RECT block, close;
  ::GetWindowRect(form.cmdBlock(), &block);
  ::GetWindowRect(form.cmdForm(), &close);
  EXPECT_EQ(close.top - block.top, static_cast<LONG>(300 / tpp + 0.5));
  EXPECT_EQ(block.bottom - block.top, static_cast<LONG>(252 / tpp + 0.5));
}

TEST_F(TrayForm, TrayRecordAsTheShellExpectsIt) {
  LoadForm();
  const NOTIFYICONDATAA& nid = Module().nidTray;
  EXPECT_EQ(nid.cbSize, static_cast<DWORD>(NOTIFYICONDATAA_V1_SIZE));
  EXPECT_EQ(nid.hWnd, Form());
  EXPECT_EQ(nid.uID, 1u);
  EXPECT_EQ(nid.uFlags, 7u);
  EXPECT_EQ(nid.uCallbackMessage, 0x200u);
  EXPECT_STREQ(nid.szTip, "Vexbane");
  EXPECT_EQ(nid.szTip[63], ' ');
  EXPECT_TRUE(State().iconInTray);
}

TEST_F(TrayForm, LoadShowsTheStartUpLevel) {
  struct Case {
    int16_t level;
    int checked;
    bool blocking;
    IconRole icon;
  } cases[] = {
      {0, 0, false, IconRole::Allowing}, {1, 1, true, IconRole::Blocking}, {3, 3, true, IconRole::Blocking},
      {4, 4, true, IconRole::Blocking},  {-1, -1, false, IconRole::Blocking},
  };
  for (const auto& c : cases) {
    Module().intPopupLevel = c.level;
    LoadForm();
    TrayState s = State();
    EXPECT_EQ(CheckedLevel(s), c.checked) << c.level;
    EXPECT_EQ(s.blnBlocking, c.blocking) << c.level;
    EXPECT_EQ(s.icon, c.icon) << c.level;
    m_form.reset();
  }
}

TEST_F(TrayForm, LoadShowsTheSound) {
  struct Case {
    const char* text;
    int checked;
  } cases[] = {{"0", 0}, {"1", 1}, {"2", 2}, {"abc", 0}, {"7", 0}, {nullptr, 1}};
  for (const auto& c : cases) {
    if (c.text) m_key.Set("Sound", c.text); else m_key.Remove("Sound");
    LoadForm();
    EXPECT_EQ(CheckedSound(State()), c.checked) << (c.text ? c.text : "missing");
    m_form.reset();
  }
}

TEST_F(TrayForm, LevelCommandsWritePopupOnly) {
  struct Case {
    TrayItem item;
    const char* text;
    int level;
  } cases[] = {{TrayItem::mnuBlockAdPopupLow, "1", 1},
               {TrayItem::mnuBlockAdPopupDefault, "2", 2},
               {TrayItem::mnuBlockAdPopupHigh, "3", 3},
               {TrayItem::mnuBlockAllPopup, "4", 4}};
  Module().intPopupLevel = 0;
  m_key.Set("Popup", "0");
  m_key.Set("PopupSave", "3");
  LoadForm();
  for (const auto& c : cases) {
    Command(c.item);
    TrayState s = State();
    EXPECT_EQ(m_key.Get("Popup"), c.text);
    EXPECT_EQ(CheckedLevel(s), c.level);
    EXPECT_TRUE(s.blnBlocking);
    EXPECT_EQ(s.icon, IconRole::Blocking);
    EXPECT_EQ(m_key.Get("PopupSave"), "3");
  }
}

TEST_F(TrayForm, AllowPopupSavesTheLevelInForce) {
  m_key.Set("Popup", "2");
  LoadForm();
  Command(TrayItem::mnuAllowPopup);
  TrayState s = State();
  EXPECT_EQ(m_key.Get("Popup"), "0");
  EXPECT_EQ(m_key.Get("PopupSave"), "2");
  EXPECT_EQ(CheckedLevel(s), 0);
  EXPECT_FALSE(s.blnBlocking);
  EXPECT_EQ(s.icon, IconRole::Allowing);
  // Again while already off: the saved level stays.
  Command(TrayItem::mnuAllowPopup);
  EXPECT_EQ(m_key.Get("PopupSave"), "2");
  // A left click brings Default back.
  IconMessage(WM_LBUTTONUP);
  s = State();
  EXPECT_EQ(m_key.Get("Popup"), "2");
  EXPECT_EQ(CheckedLevel(s), 2);
  EXPECT_EQ(s.icon, IconRole::Blocking);
}

TEST_F(TrayForm, LeftClickTogglesThroughTheCallbackMessage) {
  struct Case {
    const char* popupSave;  // null: never written
    const char* restored;
    int level;
  } cases[] = {{nullptr, "1", 1}, {"9", "2", 2}, {"4", "4", 4}, {"abc", "2", 2}};
  for (const auto& c : cases) {
    Module().intPopupLevel = 0;
    m_key.Set("Popup", "0");
    if (c.popupSave) m_key.Set("PopupSave", c.popupSave); else m_key.Remove("PopupSave");
    LoadForm();
    IconMessage(WM_LBUTTONUP);
    TrayState s = State();
    EXPECT_EQ(m_key.Get("Popup"), c.restored);
    EXPECT_EQ(CheckedLevel(s), c.level);
    EXPECT_TRUE(s.blnBlocking);
    EXPECT_EQ(s.icon, IconRole::Blocking);
    // And off again: the restored level is saved.
    IconMessage(WM_LBUTTONUP);
    s = State();
    EXPECT_EQ(m_key.Get("Popup"), "0");
    EXPECT_EQ(m_key.Get("PopupSave"), c.restored);
    EXPECT_EQ(CheckedLevel(s), 0);
    EXPECT_EQ(s.icon, IconRole::Allowing);
    m_form.reset();
  }
}

TEST_F(TrayForm, OtherMouseMessagesOfTheIconAreIgnored) {
  m_key.Set("Popup", "3");
  Module().intPopupLevel = 3;
  LoadForm();
  const TrayState before = State();
  for (UINT msg : {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_RBUTTONDOWN, WM_RBUTTONDBLCLK,
                   WM_MBUTTONDOWN, WM_MBUTTONUP})
    IconMessage(msg);
  EXPECT_EQ(State(), before);
  EXPECT_EQ(m_key.Get("Popup"), "3");
  EXPECT_EQ(m_key.Get("PopupSave"), "<missing>");
  // A double click brings two releases: off and on again.
  IconMessage(WM_LBUTTONDOWN);
  IconMessage(WM_LBUTTONUP);
  IconMessage(WM_LBUTTONDBLCLK);
  IconMessage(WM_LBUTTONUP);
  EXPECT_EQ(State(), before);
  EXPECT_EQ(m_key.Get("Popup"), "3");
}

TEST_F(TrayForm, SoundCommandsWriteSoundAndLeaveTheIcon) {
  Module().intPopupLevel = 0;
  LoadForm();
  struct Case {
    TrayItem item;
    const char* text;
    int checked;
  } cases[] = {{TrayItem::mnuWaveSound, "0", 0}, {TrayItem::mnuNoSound, "2", 2}, {TrayItem::mnuInternalSound, "1", 1}};
  for (const auto& c : cases) {
    Command(c.item);
    TrayState s = State();
    EXPECT_EQ(m_key.Get("Sound"), c.text);
    EXPECT_EQ(CheckedSound(s), c.checked);
    EXPECT_EQ(s.icon, IconRole::Allowing);
    EXPECT_EQ(CheckedLevel(s), 0);
  }
}

TEST_F(TrayForm, AFailedWriteIsNotShownAsDone) {
  m_key.Set("Popup", "3");
  m_key.Set("Sound", "2");
  Module().intPopupLevel = 3;
  LoadForm();
  // The key is gone: every write is lost and every read gives "1".
  vexbane::testing::DeleteKeyTree(HKEY_LOCAL_MACHINE, "Software\\Halvern\\Vexbane");
  {
    // The choice that could not be stored is said, in the program's own message box.
    MessageBoxAnswerer notice(frmMessage::cmdYes);
    Command(TrayItem::mnuAllowPopup);
    const SeenMessageBox& seen = notice.Seen();
    ASSERT_TRUE(seen.found) << "a failed write is said";
    EXPECT_EQ(seen.title, "Vexbane settings");
    EXPECT_EQ(seen.text,
              "This account may not change Vexbane's settings, so your choice was not stored. An administrator can "
              "reinstall Vexbane to allow every account to change them.");
  }
  TrayState s = State();
  EXPECT_TRUE(s.blnBlocking);
  EXPECT_EQ(s.icon, IconRole::Blocking);
  EXPECT_EQ(CheckedLevel(s), 1);  // what the helper now applies
  // Said once a run: the later refusals show the stored choices without another box.
  MessageBoxAnswerer none(frmMessage::cmdYes);
  Command(TrayItem::mnuNoSound);
  EXPECT_EQ(CheckedSound(State()), 1);
  IconMessage(WM_LBUTTONUP);
  EXPECT_TRUE(State().blnBlocking);
  Command(TrayItem::mnuAllowMessenger);
  EXPECT_TRUE(State().blockMessengerChecked);
  EXPECT_FALSE(State().allowMessengerChecked);
  EXPECT_FALSE(none.Seen().found);
}

TEST_F(TrayForm, IconComesBackWhenTheTaskbarRestarts) {
  LoadForm();
  NOTIFYICONDATAA nid = Module().nidTray;
  ASSERT_TRUE(::Shell_NotifyIconA(NIM_MODIFY, &nid));
  // The shell forgets the icon, as a restarted Explorer does.
  ASSERT_TRUE(::Shell_NotifyIconA(NIM_DELETE, &nid));
  ASSERT_FALSE(::Shell_NotifyIconA(NIM_MODIFY, &nid));
  ::SendMessageA(Form(), ::RegisterWindowMessageA("TaskbarCreated"), 0, 0);
  EXPECT_TRUE(::Shell_NotifyIconA(NIM_MODIFY, &nid));
  EXPECT_TRUE(State().iconInTray);
}

TEST_F(TrayForm, HelpWithoutTheFileShowsNothing) {
  LoadForm();
  const TrayState before = State();
  Command(TrayItem::mnuHelp);
  PumpMessages();
  EXPECT_EQ(State(), before);
  struct Finder {
    DWORD pid;
    int visible = 0;
  } finder{::GetCurrentProcessId()};
  ::EnumWindows(
      [](HWND hwnd, LPARAM param) __attribute__((stdcall)) -> BOOL {
        auto* f = reinterpret_cast<Finder*>(param);
        DWORD pid = 0;
        ::GetWindowThreadProcessId(hwnd, &pid);
        if (pid == f->pid && ::IsWindowVisible(hwnd)) ++f->visible;
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&finder));
  EXPECT_EQ(finder.visible, 0);
}

TEST_F(TrayForm, UnloadResetsHFormKeepsHButtonAndTakesTheIcon) {
  frmTrayForm& form = LoadForm();
  const std::string button = m_key.Get("hButton");
  NOTIFYICONDATAA nid = Module().nidTray;
  ::SendMessageA(Form(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(form.Unloaded());
  EXPECT_FALSE(::IsWindow(nid.hWnd));
  EXPECT_EQ(m_key.Get("hForm"), "0");
  EXPECT_EQ(m_key.Get("hButton"), button);
  EXPECT_FALSE(::Shell_NotifyIconA(NIM_MODIFY, &nid));
}

}  // namespace
}  // namespace vexbane::tray::testing
