// The real VexbaneTray.exe as a process: single instance, published handles, start-up level,
// commands and the toggle through posted messages, the blink, the exit check and the menu.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "core/block_record.h"
#include "tray_test_support.h"
#include "win/version.h"

#ifndef VEXBANE_TRAY_EXE
#error "VEXBANE_TRAY_EXE names the program under test"
#endif

namespace vexbane::tray::testing {
namespace {

// One started copy of the tray program. Ends it through its own exit signal if it still runs.
class TrayProcess {
 public:
  TrayProcess() = default;
  TrayProcess(const TrayProcess&) = delete;
  TrayProcess& operator=(const TrayProcess&) = delete;
  ~TrayProcess() {
    if (!m_process.hProcess) return;
    if (Running() && m_cmdForm) {
      ::PostMessageA(m_cmdForm, BM_CLICK, 0, 0);
      WaitExit(10000);
    }
    if (Running()) ::TerminateProcess(m_process.hProcess, 1);
    ::CloseHandle(m_process.hProcess);
    ::CloseHandle(m_process.hThread);
  }

  bool Launch() {
    std::string command = std::string("\"") + VEXBANE_TRAY_EXE + "\"";
    STARTUPINFOA startup = {sizeof startup};
    return ::CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                            &m_process) != FALSE;
  }

  // Starts the program and waits until its form has loaded and published its handles.
  bool Start(const vexbane::testing::ScopedProductKey& key) {
    key.Remove("hForm");
    if (!Launch()) return false;
    for (int i = 0; i < 200 && key.Get("hForm") == "<missing>"; ++i) ::Sleep(50);
    if (key.Get("hForm") == "<missing>") return false;
    m_cmdForm = HandleFromText(key.Get("hForm"));
    m_cmdBlock = HandleFromText(key.Get("hButton"));
    m_form = ::GetParent(m_cmdForm);
    return m_form != nullptr;
  }

  bool Running() const { return ::WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT; }
  bool WaitExit(DWORD ms) const { return ::WaitForSingleObject(m_process.hProcess, ms) == WAIT_OBJECT_0; }
  DWORD ExitCode() const {
    DWORD code = STILL_ACTIVE;
    ::GetExitCodeProcess(m_process.hProcess, &code);
    return code;
  }
  DWORD Pid() const { return m_process.dwProcessId; }

  HWND form() const { return m_form; }
  HWND cmdBlock() const { return m_cmdBlock; }
  HWND cmdForm() const { return m_cmdForm; }

 private:
  PROCESS_INFORMATION m_process = {};
  HWND m_form = nullptr;
  HWND m_cmdBlock = nullptr;
  HWND m_cmdForm = nullptr;
};

class RealTray : public ::testing::Test {
 protected:
  void SetUp() override {
    // Keeps the real system's NET.EXE out of these runs: no Messenger activity at start-up.
    m_key.Set("BlockMessenger", "0");
    m_reply = ::CreateWindowExA(0, "STATIC", "reply", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
  }
  void TearDown() override { ::DestroyWindow(m_reply); }

  // Posts a query behind everything posted so far and waits for the posted answer: the state
  // once every earlier message has been handled.
  TrayState Settle(const TrayProcess& tray, DWORD timeoutMs = 15000) {
    const UINT msg = StateMessage();
    ::PostMessageA(tray.form(), msg, 0, reinterpret_cast<LPARAM>(m_reply));
    DWORD start = ::GetTickCount();
    MSG answer;
    while (::GetTickCount() - start < timeoutMs) {
      if (::PeekMessageA(&answer, m_reply, msg, msg, PM_REMOVE))
        return UnpackTrayState(static_cast<uint32_t>(answer.wParam));
      ::Sleep(10);
    }
    ADD_FAILURE() << "the tray did not answer";
    return {};
  }
  void PostIcon(const TrayProcess& tray, UINT mouseMessage) {
    ::PostMessageA(tray.form(), kTrayCallbackMessage, 0, mouseMessage);
  }
  void PostCommand(const TrayProcess& tray, TrayItem item) {
    ::PostMessageA(tray.form(), WM_COMMAND, ItemId(item), 0);
  }

  vexbane::testing::ScopedProductKey m_key;
  HWND m_reply = nullptr;
};

int CountTrayForms() {
  int count = 0;
  ::EnumWindows(
      [](HWND hwnd, LPARAM param) __attribute__((stdcall)) -> BOOL {
        if (WindowText(hwnd) == "Vexbane Tray Form") ++*reinterpret_cast<int*>(param);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&count));
  return count;
}

TEST_F(RealTray, SecondStartEndsAtOnceAndLeavesTheFirstAlone) {
  TrayProcess first;
  ASSERT_TRUE(first.Start(m_key));
  const std::string hForm = m_key.Get("hForm");
  const std::string hButton = m_key.Get("hButton");
  const TrayState before = Settle(first);
  // A second copy that ran its start-up would repair this level.
  m_key.Set("Popup", "7");

  TrayProcess second;
  ASSERT_TRUE(second.Launch());
  ASSERT_TRUE(second.WaitExit(10000));
  EXPECT_EQ(second.ExitCode(), 0u);

  EXPECT_EQ(m_key.Get("Popup"), "7");
  EXPECT_EQ(m_key.Get("hForm"), hForm);
  EXPECT_EQ(m_key.Get("hButton"), hButton);
  EXPECT_TRUE(first.Running());
  EXPECT_EQ(Settle(first), before);
  EXPECT_EQ(CountTrayForms(), 1);
}

TEST_F(RealTray, PublishesItsTwoButtonsUnderTheHiddenForm) {
  TrayProcess tray;
  ASSERT_TRUE(tray.Start(m_key));
  HWND block = HandleFromText(m_key.Get("hButton"));
  HWND close = HandleFromText(m_key.Get("hForm"));
  EXPECT_EQ(WindowText(block), "Block");
  EXPECT_EQ(WindowText(close), "Form Close");
  EXPECT_EQ(ClassOf(block), "Button");
  EXPECT_EQ(::GetParent(block), ::GetParent(close));
  HWND form = ::GetParent(block);
  EXPECT_EQ(WindowText(form), "Vexbane Tray Form");
  EXPECT_FALSE(::IsWindowVisible(form));
  DWORD pid = 0;
  ::GetWindowThreadProcessId(form, &pid);
  EXPECT_EQ(pid, tray.Pid());
  TrayState s = Settle(tray);
  EXPECT_TRUE(s.iconInTray);
  // The Messenger service exists on the NT family only; the 95 family's menu has no such items.
  EXPECT_EQ(s.messengerItemsShown, !win::IsWindows9x());
}

TEST_F(RealTray, StartUpLevelIsReadAndRepaired) {
  struct Case {
    const char* popup;  // null: first run
    const char* stored;
    int checked;
    bool blocking;
    IconRole icon;
  } cases[] = {
      {"7", "2", 2, true, IconRole::Blocking},
      {"-1", "-1", -1, false, IconRole::Blocking},
      {"abc", "abc", 0, false, IconRole::Allowing},
      {nullptr, "2", 2, true, IconRole::Blocking},
  };
  for (const auto& c : cases) {
    const char* name = c.popup ? c.popup : "missing";
    if (c.popup) m_key.Set("Popup", c.popup); else m_key.Remove("Popup");
    TrayProcess tray;
    ASSERT_TRUE(tray.Start(m_key)) << name;
    TrayState s = Settle(tray);
    EXPECT_EQ(m_key.Get("Popup"), c.stored) << name;
    EXPECT_EQ(CheckedLevel(s), c.checked) << name;
    EXPECT_EQ(s.blnBlocking, c.blocking) << name;
    EXPECT_EQ(s.icon, c.icon) << name;
    // A fresh key holds no "Sound": it reads "1".
    EXPECT_EQ(CheckedSound(s), 1) << name;
  }
}

TEST_F(RealTray, ToggleAndCommandsThroughPostedMessages) {
  m_key.Set("Popup", "0");
  TrayProcess tray;
  ASSERT_TRUE(tray.Start(m_key));
  TrayState s = Settle(tray);
  EXPECT_EQ(s.icon, IconRole::Allowing);
  EXPECT_EQ(CheckedLevel(s), 0);

  // Switching on with "PopupSave" never written: it reads "1".
  PostIcon(tray, WM_LBUTTONUP);
  s = Settle(tray);
  EXPECT_EQ(m_key.Get("Popup"), "1");
  EXPECT_EQ(m_key.Get("PopupSave"), "<missing>");
  EXPECT_EQ(CheckedLevel(s), 1);
  EXPECT_TRUE(s.blnBlocking);
  EXPECT_EQ(s.icon, IconRole::Blocking);

  PostCommand(tray, TrayItem::mnuBlockAdPopupHigh);
  PostIcon(tray, WM_LBUTTONUP);
  s = Settle(tray);
  EXPECT_EQ(m_key.Get("Popup"), "0");
  EXPECT_EQ(m_key.Get("PopupSave"), "3");
  EXPECT_EQ(s.icon, IconRole::Allowing);

  m_key.Set("PopupSave", "9");
  PostIcon(tray, WM_LBUTTONUP);
  s = Settle(tray);
  EXPECT_EQ(m_key.Get("Popup"), "2");
  EXPECT_EQ(CheckedLevel(s), 2);

  PostCommand(tray, TrayItem::mnuAllowPopup);
  Settle(tray);
  EXPECT_EQ(m_key.Get("PopupSave"), "2");
  m_key.Set("PopupSave", "4");
  PostCommand(tray, TrayItem::mnuAllowPopup);
  s = Settle(tray);
  EXPECT_EQ(m_key.Get("PopupSave"), "4");
  EXPECT_EQ(m_key.Get("Popup"), "0");

  PostCommand(tray, TrayItem::mnuNoSound);
  s = Settle(tray);
  EXPECT_EQ(m_key.Get("Sound"), "2");
  EXPECT_EQ(CheckedSound(s), 2);

  for (UINT msg : {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_LBUTTONDBLCLK, WM_MBUTTONUP})
    PostIcon(tray, msg);
  EXPECT_EQ(Settle(tray), s);
  EXPECT_EQ(m_key.Get("Popup"), "0");
}

TEST_F(RealTray, BlockedSignalsBlinkAtMostOncePerSecond) {
  m_key.Set("Popup", "2");
  TrayProcess tray;
  ASSERT_TRUE(tray.Start(m_key));
  ASSERT_EQ(Settle(tray).blinks, 0);

  // A burst: the first blinks, the rest arrive within the quiet second after it.
  DWORD start = ::GetTickCount();
  for (int i = 0; i < 5; ++i) ::PostMessageA(tray.cmdBlock(), BM_CLICK, 0, 0);
  TrayState s = Settle(tray);
  EXPECT_EQ(s.blinks, 1);
  EXPECT_GE(::GetTickCount() - start, 1000u);  // four cycles of 2 x 150 ms
  EXPECT_EQ(s.icon, IconRole::Blocking);

  // 300 ms apart: still one more blink only.
  ::Sleep(1500);
  ::PostMessageA(tray.cmdBlock(), BM_CLICK, 0, 0);
  ::Sleep(300);
  ::PostMessageA(tray.cmdBlock(), BM_CLICK, 0, 0);
  EXPECT_EQ(Settle(tray).blinks, 2);

  // Two seconds after a blink: blinks again.
  ::Sleep(2000);
  ::PostMessageA(tray.cmdBlock(), BM_CLICK, 0, 0);
  EXPECT_EQ(Settle(tray).blinks, 3);

  // While blocking is off the blink ends on the allowing icon again.
  PostIcon(tray, WM_LBUTTONUP);
  ::Sleep(2000);
  ::PostMessageA(tray.cmdBlock(), BM_CLICK, 0, 0);
  s = Settle(tray);
  EXPECT_EQ(s.blinks, 4);
  EXPECT_EQ(s.icon, IconRole::Allowing);
  EXPECT_FALSE(s.blnBlocking);
  EXPECT_EQ(CheckedLevel(s), 0);
}

class BrowserFrame {
 public:
  BrowserFrame() {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = "IEFrame";
    ::RegisterClassA(&wc);
    m_hwnd = ::CreateWindowExA(0, "IEFrame", "Browser", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                               wc.hInstance, nullptr);
  }
  ~BrowserFrame() { Close(); }
  void Close() {
    if (m_hwnd) ::DestroyWindow(m_hwnd);
    m_hwnd = nullptr;
  }
  explicit operator bool() const { return m_hwnd != nullptr; }

 private:
  HWND m_hwnd = nullptr;
};

// A browser window the user is typing into: shown, in front, its text box holding the keyboard.
class TypingBrowser {
 public:
  TypingBrowser() {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = "IEFrame";
    ::RegisterClassA(&wc);
    m_frame = ::CreateWindowExA(0, "IEFrame", "Browser", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 300, 200, nullptr,
                                nullptr, wc.hInstance, nullptr);
    m_address = ::CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 5, 5, 200, 20, m_frame, nullptr, wc.hInstance,
                                  nullptr);
    ::SetForegroundWindow(m_frame);
    ::SetFocus(m_address);
    PumpMessages();
  }
  ~TypingBrowser() { Close(); }
  void Close() {
    if (m_frame) ::DestroyWindow(m_frame);
    m_frame = nullptr;
  }
  HWND frame() const { return m_frame; }
  // Still in front with the keyboard in its text box, after this thread has seen what happened.
  bool HoldsTheKeyboard() {
    PumpMessages();
    return ::GetForegroundWindow() == m_frame && ::GetFocus() == m_address;
  }

 private:
  HWND m_frame = nullptr;
  HWND m_address = nullptr;
};

// Windows 95 and NT 4.0 let any program take the foreground, as Wine does: the tray must not
// take it from the browser at its start or when a block makes its icon blink.
TEST_F(RealTray, TheBrowserKeepsTheKeyboardThroughTheStartABlockAndABlink) {
  TrayProcess tray;  // declared first: it ends after the browser has gone
  TypingBrowser browser;
  ASSERT_TRUE(browser.HoldsTheKeyboard()) << "the test's own window could not take the foreground";
  ASSERT_TRUE(tray.Start(m_key));
  Settle(tray);
  EXPECT_TRUE(browser.HoldsTheKeyboard()) << "taken at the tray's start";

  // A block as the helper reports it: the record, then the click on "Block".
  blocks::BlockRecord record;
  record.kind = blocks::BlockKind::NewWindow;
  record.reason = blocks::BlockReason::NoClick;
  record.level = 2;
  record.pageUrl = "http://news.example/";
  record.timeOfDayMs = 1000;
  const blocks::BlockRecordWire wire = blocks::EncodeBlockRecord(record);
  COPYDATASTRUCT data = {blocks::kRecordTag, sizeof wire, const_cast<blocks::BlockRecordWire*>(&wire)};
  DWORD_PTR taken = 0;
  ::SendMessageTimeoutA(tray.form(), WM_COPYDATA, reinterpret_cast<WPARAM>(browser.frame()),
                        reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG | SMTO_BLOCK, 5000, &taken);
  EXPECT_EQ(taken, static_cast<DWORD_PTR>(TRUE));
  ::PostMessageA(tray.cmdBlock(), BM_CLICK, 0, 0);
  EXPECT_EQ(Settle(tray).blinks, 1);
  EXPECT_TRUE(browser.HoldsTheKeyboard()) << "taken by the blink";

  // A level chosen from the menu's command and the left-click toggle leave it where it is too.
  PostCommand(tray, TrayItem::mnuBlockAdPopupHigh);
  PostIcon(tray, WM_LBUTTONUP);
  Settle(tray);
  EXPECT_TRUE(browser.HoldsTheKeyboard()) << "taken by a level command or the toggle";
  browser.Close();
}

TEST_F(RealTray, ExitCheckWaitsForTheLastBrowserFrame) {
  TrayProcess tray;
  ASSERT_TRUE(tray.Start(m_key));
  const std::string hForm = m_key.Get("hForm");
  const std::string hButton = m_key.Get("hButton");

  BrowserFrame browser;
  ASSERT_TRUE(browser);
  ::PostMessageA(tray.cmdForm(), BM_CLICK, 0, 0);
  EXPECT_FALSE(tray.WaitExit(3000));  // eleven looks, 100 ms apart, then it stays
  Settle(tray);
  EXPECT_EQ(m_key.Get("hForm"), hForm);

  // A browser frame that closes while the tray looks: the tray follows it.
  ::PostMessageA(tray.cmdForm(), BM_CLICK, 0, 0);
  ::Sleep(400);
  EXPECT_TRUE(tray.Running());
  browser.Close();
  EXPECT_TRUE(tray.WaitExit(10000));
  EXPECT_EQ(m_key.Get("hForm"), "0");
  EXPECT_EQ(m_key.Get("hButton"), hButton);
  EXPECT_FALSE(::IsWindow(tray.form()));
}

TEST_F(RealTray, ExitsAtOnceWithoutABrowser) {
  TrayProcess tray;
  ASSERT_TRUE(tray.Start(m_key));
  const std::string hButton = m_key.Get("hButton");
  ::PostMessageA(tray.cmdForm(), BM_CLICK, 0, 0);
  EXPECT_TRUE(tray.WaitExit(10000));
  EXPECT_EQ(tray.ExitCode(), 0u);
  EXPECT_EQ(m_key.Get("hForm"), "0");
  EXPECT_EQ(m_key.Get("hButton"), hButton);
  EXPECT_EQ(CountTrayForms(), 0);
}

struct MenuFinder {
  DWORD pid;
  HWND menu = nullptr;
};

HWND FindOpenMenu(DWORD pid) {
  MenuFinder finder{pid};
  ::EnumWindows(
      [](HWND hwnd, LPARAM param) __attribute__((stdcall)) -> BOOL {
        auto* f = reinterpret_cast<MenuFinder*>(param);
        DWORD owner = 0;
        ::GetWindowThreadProcessId(hwnd, &owner);
        if (owner == f->pid && ClassOf(hwnd) == "#32768" && ::IsWindowVisible(hwnd)) {
          f->menu = hwnd;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&finder));
  return finder.menu;
}

TEST_F(RealTray, RightButtonReleaseOpensTheMenuAtTheMouse) {
  TrayProcess tray;
  ASSERT_TRUE(tray.Start(m_key));
  ::SetCursorPos(300, 200);
  PostIcon(tray, WM_RBUTTONUP);
  HWND menu = nullptr;
  for (int i = 0; i < 100 && !menu; ++i) {
    ::Sleep(50);
    menu = FindOpenMenu(tray.Pid());
  }
  ASSERT_NE(menu, nullptr);
  RECT at;
  ::GetWindowRect(menu, &at);
  EXPECT_NEAR(at.left, 300, 2);
  EXPECT_NEAR(at.top, 200, 2);
  // Escape closes it and the tray goes on answering.
  ::PostMessageA(tray.form(), WM_KEYDOWN, VK_ESCAPE, 0);
  for (int i = 0; i < 100 && FindOpenMenu(tray.Pid()); ++i) ::Sleep(50);
  EXPECT_EQ(FindOpenMenu(tray.Pid()), nullptr);
  EXPECT_TRUE(Settle(tray).iconInTray);
}

// Vista and 7 virtualize a program without a manifest: its settings would go to the user's
// VirtualStore, which the helper never reads. The manifest asks to run as the user starts it.
TEST(TrayManifest, TheProgramFileAsksToRunAsInvokedAndIsNeverVirtualized) {
  HMODULE file = ::LoadLibraryExA(VEXBANE_TRAY_EXE, nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(file, nullptr);
  HRSRC found = ::FindResourceA(file, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
  ASSERT_NE(found, nullptr) << "no RT_MANIFEST resource 1";
  const DWORD size = ::SizeofResource(file, found);
  const char* bytes = static_cast<const char*>(::LockResource(::LoadResource(file, found)));
  ASSERT_NE(bytes, nullptr);
  const std::string manifest(bytes, size);
  ::FreeLibrary(file);
  EXPECT_NE(manifest.find("<requestedExecutionLevel level=\"asInvoker\" uiAccess=\"false\"/>"), std::string::npos)
      << manifest;
  EXPECT_NE(manifest.find("<trustInfo xmlns=\"urn:schemas-microsoft-com:asm.v2\">"), std::string::npos);
  // Nothing that would change the program's look or what Windows tells it of its version.
  EXPECT_EQ(manifest.find("Microsoft.Windows.Common-Controls"), std::string::npos);
  EXPECT_EQ(manifest.find("supportedOS"), std::string::npos);
}

}  // namespace
}  // namespace vexbane::tray::testing
