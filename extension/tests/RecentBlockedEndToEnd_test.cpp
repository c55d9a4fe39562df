// The stand-in browser and the real tray program together: blocks reach the "Recently Blocked"
// window with their site, kind and reason, and "Allow Site" lets that site's next window open.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "HelperFixture.h"
#include "core/tray_menu.h"

#ifndef VEXBANE_TRAY_EXE_PATH
#error "VEXBANE_TRAY_EXE_PATH names the real tray program"
#endif

namespace vexbane::ext::testing {
namespace {

constexpr char kRecentClass[] = "VexbaneRecentBlocked";
// Control ids of the window, as the tray program numbers them.
constexpr int kList = 18;
constexpr int kCounts = 13;
constexpr int kStatus = 19;
constexpr int kAllowSite = 20;
constexpr int kOpen = 24;
constexpr int kBlockHost = 25;

// The real tray program, copied beside the helper in place of the stand-in for one test.
class RealTrayBesideHelper {
 public:
  explicit RealTrayBesideHelper(const vexbane::testing::ScopedProductKey& key) {
    m_path = HelperTest::FolderForHost() + "\\VexbaneTray.exe";
    if (!::CopyFileA(VEXBANE_TRAY_EXE_PATH, m_path.c_str(), FALSE)) return;
    std::string cmd = "\"" + m_path + "\"";
    STARTUPINFOA si = {sizeof si};
    if (!::CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          HelperTest::FolderForHost().c_str(), &si, &m_process))
      return;
    for (int i = 0; i < 200 && key.Get("hForm") == "<missing>"; ++i) HelperTest::PumpForHost(50);
    const std::string button = key.Get("hButton");
    if (button != "<missing>") m_form = ::GetParent(reinterpret_cast<HWND>(static_cast<intptr_t>(std::stol(button))));
    // The handles are published before the program's message loop runs; until the loop takes
    // messages a report is not waited for and is lost, as the helper means it to be.
    DWORD_PTR state = 0;
    if (m_form)
      ::SendMessageTimeoutA(m_form, ::RegisterWindowMessageA("VexbaneTrayState"), 0, 0, SMTO_NORMAL, 10000, &state);
  }
  ~RealTrayBesideHelper() {
    if (m_process.hProcess) {
      ::TerminateProcess(m_process.hProcess, 0);
      ::WaitForSingleObject(m_process.hProcess, 5000);
      ::CloseHandle(m_process.hProcess);
      ::CloseHandle(m_process.hThread);
    }
    // The other suites of this program expect the stand-in beside the helper.
    ::CopyFileA(VEXBANE_TRAY_STANDIN_PATH, m_path.c_str(), FALSE);
  }
  RealTrayBesideHelper(const RealTrayBesideHelper&) = delete;
  RealTrayBesideHelper& operator=(const RealTrayBesideHelper&) = delete;
  HWND form() const { return m_form; }

 private:
  std::string m_path;
  PROCESS_INFORMATION m_process = {};
  HWND m_form = nullptr;
};

// Read through the wide message: Wine hands a list box's text to another process as UTF-16
// whichever variant asks, and the wide variant is the one both systems answer alike.
std::string ItemText(HWND list, int index) {
  wchar_t text[512] = {};
  LRESULT length = ::SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length == LB_ERR || length >= 512) return "<error>";
  ::SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
  char narrow[1024] = {};
  ::WideCharToMultiByte(CP_ACP, 0, text, -1, narrow, sizeof narrow, nullptr, nullptr);
  return narrow;
}

// The control's text as the tray's process holds it: GetWindowText of another process's window
// gives only the text it was made with, which an edit control does not keep.
std::string Caption(HWND window) {
  char text[1024] = {};
  DWORD_PTR length = 0;
  ::SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 5000, &length);
  return text;
}

using RecentBlockedEndToEnd = HelperTest;

TEST_F(RecentBlockedEndToEnd, BlocksShowUpInTheTrayAndAllowSiteLetsTheNextWindowOpen) {
  m_key.Set("BlockMessenger", "0");
  m_key.Set("Sound", "2");
  m_key.Set("Popup", "4");
  RealTrayBesideHelper tray(m_key);
  ASSERT_NE(tray.form(), nullptr) << "the tray program did not publish its handles";

  host::HostWindow& w = Session().Open();
  for (int i = 1; i <= 20; ++i) {
    w.Navigate("http://bulk" + std::to_string(i) + ".example/");
    ASSERT_TRUE(w.NewWindow());
  }
  m_key.Set("Popup", "2");
  w.Navigate("http://ads.example/banner");
  ASSERT_TRUE(w.NewWindow());  // no click since the navigation
  w.Navigate("http://news.example/story");
  w.Title("News");
  w.OpenDialog();
  Session().Post(0x0491);
  Pump(300);
  ASSERT_FALSE(w.DialogExists());
  // The thread's helper forgets the dialog frame it saw, as the later suites of this thread expect.
  Session().Post(0x0491);
  Pump(100);
  m_key.Set("Popup", "4");
  w.Navigate("http://Shop.Example:8080/pay");
  ASSERT_TRUE(w.NewWindow());

  ::PostMessageA(tray.form(), WM_COMMAND, tray::TrayMenuItemOf(tray::TrayItem::mnuRecentBlocked).id, 0);
  HWND window = nullptr;
  for (int i = 0; i < 100 && !window; ++i) {
    Pump(50);
    window = ::FindWindowA(kRecentClass, nullptr);
  }
  ASSERT_NE(window, nullptr) << "the menu command opened no window";
  // The window exists a moment before the tray has made its controls and filled the list.
  HWND list = nullptr;
  for (int i = 0; i < 100; ++i) {
    list = ::GetDlgItem(window, kList);
    if (list && ::SendMessageA(list, LB_GETCOUNT, 0, 0) >= 20) break;
    Pump(50);
  }
  ASSERT_EQ(::SendMessageA(list, LB_GETCOUNT, 0, 0), 20)
      << "23 blocks, the newest 20 listed; the tray counted " << m_key.Get("BlocksTotal") << ", shows \""
      << Caption(::GetDlgItem(window, kCounts)) << "\", its form " << tray.form() << ", the window's owner process "
      << [&] { DWORD pid = 0; ::GetWindowThreadProcessId(window, &pid); return pid; }();
  auto columns = [](const std::string& row) { return row.substr(row.find('\t') + 1); };  // without the time
  EXPECT_EQ(columns(ItemText(list, 0)), "shop.example\t\tnew window\tBlock All Popup");
  EXPECT_EQ(columns(ItemText(list, 1)), "news.example\t\tdialog\tno click");
  EXPECT_EQ(columns(ItemText(list, 2)), "ads.example\t\tnew window\tno click");
  EXPECT_EQ(columns(ItemText(list, 3)), "bulk20.example\t\tnew window\tBlock All Popup");
  EXPECT_EQ(columns(ItemText(list, 19)), "bulk4.example\t\tnew window\tBlock All Popup");
  EXPECT_EQ(Caption(::GetDlgItem(window, kCounts)), "Blocked today: 23     In all: 23");
  EXPECT_EQ(m_key.Get("BlocksTotal"), "23");

  ::SendMessageA(list, LB_SETCURSEL, 2, 0);
  DWORD_PTR ignored = 0;
  ::SendMessageTimeoutA(::GetDlgItem(window, kAllowSite), BM_CLICK, 0, 0, SMTO_NORMAL, 5000, &ignored);
  EXPECT_EQ(ReadFile("WebSite.dat"), "1\r\nads.example\r\n");
  EXPECT_EQ(Caption(::GetDlgItem(window, kStatus)), "ads.example was added to the allow list: its next windows open.");

  w.Navigate("http://ads.example/banner");
  EXPECT_FALSE(w.NewWindow()) << "the allowed site's next window opens, even at level 4";
  w.Navigate("http://other.example/");
  EXPECT_TRUE(w.NewWindow());
}

// IE 6 SP2 and later say where the window was going: the list shows its host, "Block Host" puts
// it on the Blocked Hosts list, whose windows then stay blocked right after a click (Ctrl still
// opens them), and "Open" lets the blocked window through once, from the browser window that
// tried, with the page as referrer, neither blocked again nor counted.
TEST_F(RecentBlockedEndToEnd, TheTargetIsShownBlockedByHostAndOpenedOnceWithOpen) {
  m_key.Set("BlockMessenger", "0");
  m_key.Set("Sound", "2");
  m_key.Set("Popup", "2");
  RemoveFile("BlockedHost.dat");
  RealTrayBesideHelper tray(m_key);
  ASSERT_NE(tray.form(), nullptr) << "the tray program did not publish its handles";
  Session().SetEventOrder(host::EventOrder::NewWindow3Then2);

  host::HostWindow& w = Session().Open();
  w.Navigate("http://news.example/story");
  ASSERT_TRUE(w.NewWindow("http://x.ads.example/under.html")) << "no click since the navigation";
  w.Navigate("http://old.example/");
  Session().SetEventOrder(host::EventOrder::NewWindow2Only);
  ASSERT_TRUE(w.NewWindow()) << "an older browser's block: no target";
  Session().SetEventOrder(host::EventOrder::NewWindow3Then2);

  ::PostMessageA(tray.form(), WM_COMMAND, tray::TrayMenuItemOf(tray::TrayItem::mnuRecentBlocked).id, 0);
  HWND window = nullptr;
  HWND list = nullptr;
  for (int i = 0; i < 100; ++i) {
    Pump(50);
    if (!window) window = ::FindWindowA(kRecentClass, nullptr);
    list = window ? ::GetDlgItem(window, kList) : nullptr;
    if (list && ::SendMessageA(list, LB_GETCOUNT, 0, 0) >= 2) break;
  }
  ASSERT_EQ(::SendMessageA(list, LB_GETCOUNT, 0, 0), 2);
  auto columns = [](const std::string& row) { return row.substr(row.find('\t') + 1); };
  EXPECT_EQ(columns(ItemText(list, 0)), "old.example\t\tnew window\tno click");
  EXPECT_EQ(columns(ItemText(list, 1)), "news.example\tx.ads.example\tnew window\tno click");
  EXPECT_EQ(m_key.Get("BlocksTotal"), "2");

  auto select = [&](int row) {
    // As a user's click on the row does: the selection, then the list's notice to its window.
    ::SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(row), 0);
    ::SendMessageA(window, WM_COMMAND, MAKEWPARAM(kList, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
  };
  auto press = [&](int id) {
    DWORD_PTR ignored = 0;
    ::SendMessageTimeoutA(::GetDlgItem(window, id), BM_CLICK, 0, 0, SMTO_NORMAL, 5000, &ignored);
  };
  select(0);
  EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(window, kOpen))) << "no target: nothing to open";
  EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(window, kBlockHost)));
  select(1);
  ASSERT_TRUE(::IsWindowEnabled(::GetDlgItem(window, kOpen)));

  // The last request before "Open" was an older browser's NewWindow2 alone: the window that
  // "Open" asks for must not be taken for that request's partner and follow its block.
  press(kOpen);
  EXPECT_EQ(Caption(::GetDlgItem(window, kStatus)), "The window opens from the browser window that tried.");
  for (int i = 0; i < 40 && w.browser()->opened().empty(); ++i) Pump(50);
  ASSERT_EQ(w.browser()->opened().size(), 1u) << "the browser window that tried opens it";
  EXPECT_EQ(w.browser()->opened()[0].url, "http://x.ads.example/under.html");
  EXPECT_EQ(w.browser()->opened()[0].headers, "Referer: http://news.example/story\r\n");
  Pump(300);
  EXPECT_EQ(m_key.Get("BlocksTotal"), "2") << "an opened window is no block";
  EXPECT_EQ(::SendMessageA(list, LB_GETCOUNT, 0, 0), 2);

  press(kBlockHost);
  EXPECT_EQ(ReadFile("BlockedHost.dat"), "1\r\nx.ads.example\r\n");
  EXPECT_EQ(Caption(::GetDlgItem(window, kStatus)),
            "x.ads.example was added to the Blocked Hosts list: its windows stay blocked after a click. To undo "
            "this, remove it in Blocked Hosts (tray menu).");

  host::HostWindow& clicked = Session().Open();  // the attach's click time: a click just now
  EXPECT_TRUE(clicked.NewWindow("http://x.ads.example/again")) << "a listed host, right after a click";
  EXPECT_FALSE(clicked.NewWindow("http://news.example/wanted")) << "the click stays for the wanted window";
  Session().CtrlKey(true);
  EXPECT_FALSE(clicked.NewWindow("http://x.ads.example/asked-for")) << "Ctrl still opens it";
  Session().CtrlKey(false);
  for (int i = 0; i < 40 && ::SendMessageA(list, LB_GETCOUNT, 0, 0) < 3; ++i) Pump(50);
  ASSERT_EQ(::SendMessageA(list, LB_GETCOUNT, 0, 0), 3);
  EXPECT_EQ(columns(ItemText(list, 0)), "(no site)\tx.ads.example\tnew window\tblocked host");

  // The browser window that tried is gone: "Open" starts a new browser at the address. The
  // browser the shell finds for "IEXPLORE.EXE" is a stand-in that notes its command line.
  const std::string browserFolder = FolderForHost() + "\\browser";
  ::CreateDirectoryA(browserFolder.c_str(), nullptr);
  const std::string browser = browserFolder + "\\iexplore.exe";
  ASSERT_TRUE(::CopyFileA(VEXBANE_TRAY_STANDIN_PATH, browser.c_str(), FALSE));
  ::DeleteFileA((browserFolder + "\\args.txt").c_str());
  const char kAppPath[] = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\IEXPLORE.EXE";
  HKEY appPath = nullptr;
  ASSERT_EQ(::RegCreateKeyExA(HKEY_LOCAL_MACHINE, kAppPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &appPath, nullptr),
            ERROR_SUCCESS);
  ::RegSetValueExA(appPath, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(browser.c_str()),
                   static_cast<DWORD>(browser.size() + 1));
  ::RegCloseKey(appPath);
  ASSERT_TRUE(Session().Select(1));
  Session().Quit();  // the window that blocked x.ads.example/under.html; the other stays open
  select(2);
  ASSERT_TRUE(::IsWindowEnabled(::GetDlgItem(window, kOpen)));
  press(kOpen);
  EXPECT_EQ(Caption(::GetDlgItem(window, kStatus)),
            "The browser window that tried is closed: the window opens in a new one.");
  std::string args;
  for (int i = 0; i < 100 && args.empty(); ++i) {
    Pump(50);
    std::string text = ReadFile("browser\\args.txt");
    if (text != "<missing>") args = text;
  }
  ::RegDeleteKeyA(HKEY_LOCAL_MACHINE, kAppPath);
  EXPECT_EQ(args, "\"http://x.ads.example/under.html\"");
}

}  // namespace
}  // namespace vexbane::ext::testing
