// The helper in Internet Explorer 7 and 8's tab shapes, through the stand-in browser: several
// tabs below one frame, each a browser with its helper on a thread of its own, the frame on
// another thread (IE 7) or in another process (IE 8), with and without OnQuit at a tab's close.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "HelperFixture.h"
#include "HostTab.h"
#include "RecordingTray.h"
#include "Scenario.h"
#include "TabFrame.h"
#include "ThreadState.h"
#include "core/block_record.h"
#include "core/product_ids.h"
#include "hooks_fixture.h"
#include "quit_fakes.h"
#include "win/guid.h"

namespace vexbane::ext::testing {
namespace {

using hooktest::TestTrayForm;
using testfakes::CleanerLog;
using testfakes::FakeCookieCleaner;
using testfakes::HandOut;
using testfakes::ScopedClassObject;

std::string ClassOf(HWND hwnd) {
  char name[256] = {};
  int n = ::GetClassNameA(hwnd, name, sizeof name);
  return std::string(name, n > 0 ? static_cast<size_t>(n) : 0);
}

class TabShapeTest : public HelperTest, public ::testing::WithParamInterface<const char*> {
 protected:
  void SetUp() override {
    HelperTest::SetUp();
    if (HasFatalFailure()) return;
    m_key.Set("Popup", "2");
    m_key.Set("Sound", "2");
    m_key.Set("CountIE", "0");
    m_key.Set("AutoClean", "1");
    m_key.Set("hForm", HandleToText(m_tray.formClose()));
    m_key.Set("hButton", HandleToText(m_records.button()));
    ASSERT_TRUE(host::ParseShape(GetParam(), m_shape));
    m_shape.frameProgram = VEXBANE_BROWSERHOST_PATH;
    // The helper creates the cookie component in its own tab's apartment.
    CleanerLog* log = &m_log;
    m_shape.tabThreadSetup = [log]() -> std::shared_ptr<void> {
      return std::make_shared<ScopedClassObject>(win::ToGuid(ids::kClsidCookieCleaner), [log](REFIID iid, void** out) {
        return HandOut(new FakeCookieCleaner(win::ToGuid(ids::kIidCookieCleaner), *log), iid, out);
      });
    };
    m_session.reset();
    m_session = std::make_unique<host::HostSession>(m_out, m_shape);
  }

  // A window of `tabs` tabs, each on a page of its own (the first navigation clears the click
  // the attach sets; the title change is where the helper reads the page's address).
  host::HostWindow& OpenWindow(size_t tabs) {
    host::HostWindow& w = Session().Open();
    for (size_t n = 1; n <= tabs; ++n) {
      if (n > 1) w.NewTab();
      w.Navigate("http://tab" + std::to_string(n) + ".example/");
      w.Title("Tab " + std::to_string(n));
    }
    return w;
  }

  void ClickInTab(host::HostWindow& w, size_t n) {
    ASSERT_TRUE(w.SelectTab(n));
    Pump(50);
    Session().Click();
  }

  // The scan message to the tab's thread, then time for the posted close to be handled.
  void ScanInTab(host::HostWindow& w, size_t n) {
    ASSERT_TRUE(w.SelectTab(n));
    Session().Post(0x0491);
    Pump(300);
  }

  host::ShapeOptions m_shape;
  TestTrayForm m_tray;
  RecordingTray m_records;
  CleanerLog m_log;
};

TEST_P(TabShapeTest, TabsShareOneFrameEachOnAThreadOfItsOwnAndAreCountedAndListedOneByOne) {
  host::HostWindow& w = OpenWindow(2);
  ASSERT_TRUE(w.tabbed());
  ASSERT_EQ(w.tabCount(), 2u);
  HWND frame = w.frame();
  EXPECT_EQ(ClassOf(frame), "IEFrame");
  const host::TabFrame* tf = w.tabFrame();
  EXPECT_NE(tf->threadId(), ::GetCurrentThreadId());
  if (m_shape.shape == host::Shape::IE8) {
    EXPECT_NE(tf->processId(), ::GetCurrentProcessId()) << "IE 8's frame lives in another process";
  } else {
    EXPECT_EQ(tf->processId(), ::GetCurrentProcessId());
  }
  for (size_t n = 1; n <= 2; ++n) {
    host::HostTab* tab = w.tab(n);
    SCOPED_TRACE("tab " + std::to_string(n));
    EXPECT_TRUE(SUCCEEDED(tab->helperResult()));
    HWND page = tab->page();
    EXPECT_EQ(ClassOf(page), "Internet Explorer_Server");
    HWND view = ::GetParent(page);
    EXPECT_EQ(ClassOf(view), "Shell DocObject View");
    HWND tabWindow = ::GetParent(view);
    EXPECT_EQ(ClassOf(tabWindow), "TabWindowClass");
    HWND above = ::GetParent(tabWindow);
    if (m_shape.shape == host::Shape::IE8) {
      EXPECT_EQ(ClassOf(above), "Frame Tab");
      above = ::GetParent(above);
    }
    EXPECT_EQ(above, frame);
    EXPECT_EQ(::GetWindowThreadProcessId(page, nullptr), tab->threadId());
    EXPECT_NE(tab->threadId(), tf->threadId());
    SHANDLE_PTR hwnd = 0;
    ASSERT_EQ(tab->browser()->get_HWND(&hwnd), S_OK);
    EXPECT_EQ(reinterpret_cast<HWND>(hwnd), frame) << "a tab's HWND is its frame's";
  }
  EXPECT_NE(w.tab(1)->threadId(), w.tab(2)->threadId());
  EXPECT_EQ(Session().ListedBrowsers(), 2u);
  EXPECT_EQ(m_key.Get("CountIE"), "2") << "every tab's helper counts itself";
}

TEST_P(TabShapeTest, AClickInOneTabLetsOnlyThatTabsWindowOpenAndRecordsNameTheFrameAndTheTabsPage) {
  host::HostWindow& w = OpenWindow(2);
  for (size_t clicked : {1u, 2u}) {
    const size_t other = 3 - clicked;
    SCOPED_TRACE("click in tab " + std::to_string(clicked));
    const size_t recordsBefore = m_records.received().size();
    ClickInTab(w, clicked);
    ASSERT_TRUE(w.SelectTab(other));
    EXPECT_TRUE(w.NewWindow()) << "the other tab's window opened on a click it never had";
    ASSERT_TRUE(w.SelectTab(clicked));
    EXPECT_FALSE(w.NewWindow()) << "the clicked tab's window was blocked";
    Pump(50);
    ASSERT_EQ(m_records.received().size(), recordsBefore + 1);
    const RecordingTray::Received& got = m_records.received().back();
    EXPECT_EQ(got.sender, w.frame());
    EXPECT_EQ(got.record.pageUrl, "http://tab" + std::to_string(other) + ".example/");
    EXPECT_EQ(got.record.kind, blocks::BlockKind::NewWindow);
  }
}

TEST_P(TabShapeTest, ATabAPageAsksForIsRecordedAsANewTabAndOpenReachesThatTabsThread) {
  host::HostWindow& w = OpenWindow(2);
  w.SetEventOrder(host::EventOrder::NewWindow3Then2);  // as IE 7 and 8 raise them
  ASSERT_TRUE(w.SelectTab(2));
  const size_t before = m_records.received().size();
  EXPECT_TRUE(w.NewWindow("http://pop.example/tab", host::kNewTabFlags)) << "no click in the tab";
  Pump(50);
  ASSERT_EQ(m_records.received().size(), before + 1);
  const RecordingTray::Received got = m_records.received().back();
  EXPECT_EQ(got.sender, w.frame());
  EXPECT_EQ(got.record.kind, blocks::BlockKind::NewTab);
  EXPECT_EQ(got.record.targetUrl, "http://pop.example/tab");
  EXPECT_NE(got.record.blockId, 0u);
  HWND taker = reinterpret_cast<HWND>(static_cast<intptr_t>(static_cast<int32_t>(got.record.openWindow)));
  ASSERT_TRUE(::IsWindow(taker)) << "a tab names a window of its own thread for Open";
  EXPECT_EQ(::GetWindowThreadProcessId(taker, nullptr), w.tab(2)->threadId());

  // What the tray's "Open" posts; the frame's thread has no hook of ours.
  ::PostMessageA(taker, ::RegisterWindowMessageA("VexbaneOpenBlocked"), got.record.blockId, 0);
  std::vector<host::HostBrowser::Opened> opened;
  for (int i = 0; i < 40 && opened.empty(); ++i) {
    Pump(50);
    w.tab(2)->Run([&] { opened = w.tab(2)->browser()->opened(); });
  }
  ASSERT_EQ(opened.size(), 1u) << "the tab that tried opens it";
  EXPECT_EQ(opened[0].url, "http://pop.example/tab");
  EXPECT_TRUE(opened[0].asTab) << "as the tab the page asked for";
  EXPECT_EQ(opened[0].headers, "Referer: http://tab2.example/\r\n");
  std::vector<host::HostBrowser::Opened> other;
  w.tab(1)->Run([&] { other = w.tab(1)->browser()->opened(); });
  EXPECT_TRUE(other.empty());
  EXPECT_EQ(m_records.received().size(), before + 1) << "opening is no block";
}

TEST_P(TabShapeTest, ADialogIsJudgedOnlyByTheTabThatOpenedItBothWays) {
  host::HostWindow& w = OpenWindow(2);
  for (size_t opener : {1u, 2u}) {
    const size_t other = 3 - opener;
    SCOPED_TRACE("dialog from tab " + std::to_string(opener));
    // The other tab had no click (or its release was spent on its own dialog): its rules would
    // close any new dialog of the frame.
    ClickInTab(w, opener);
    w.OpenDialog();
    HWND dialog = w.tab(opener)->dialog();
    ASSERT_TRUE(::IsWindow(dialog));
    EXPECT_EQ(::GetParent(dialog), w.frame()) << "a tab's dialog is owned by the frame";
    ScanInTab(w, other);
    EXPECT_TRUE(::IsWindow(dialog)) << "tab " << other << " closed a dialog of tab " << opener;
    ScanInTab(w, opener);
    EXPECT_TRUE(::IsWindow(dialog)) << "the opener's click lets its dialog stay";
    ASSERT_TRUE(w.SelectTab(opener));
    w.CloseDialog();
  }
  // A tab still closes its own dialog when it had no click.
  const size_t blocksBefore = m_records.received().size();
  ASSERT_TRUE(w.SelectTab(1));
  w.OpenDialog();
  HWND unwanted = w.tab(1)->dialog();
  ScanInTab(w, 1);
  EXPECT_FALSE(::IsWindow(unwanted));
  ASSERT_EQ(m_records.received().size(), blocksBefore + 1);
  EXPECT_EQ(m_records.received().back().sender, w.frame());
  EXPECT_EQ(m_records.received().back().record.pageUrl, "http://tab1.example/");
  EXPECT_EQ(m_records.received().back().record.kind, blocks::BlockKind::Dialog);
}

TEST_P(TabShapeTest, EachTabsHooksComeAndGoWithThatTab) {
  host::HostWindow& w = OpenWindow(2);
  EXPECT_EQ(CallExport("DllCanUnloadNow"), S_FALSE);
  ASSERT_TRUE(w.SelectTab(1));
  w.CloseTab();
  ASSERT_TRUE(w.tab(1)->closed());
  // The tab left open keeps its hooks: its clicks still count.
  ClickInTab(w, 2);
  EXPECT_FALSE(w.NewWindow());
  // A new tab has hooks of its own from its start.
  const size_t third = w.NewTab();
  ASSERT_EQ(third, 3u);
  w.Navigate("http://tab3.example/");
  EXPECT_TRUE(w.NewWindow());
  ClickInTab(w, 3);
  EXPECT_FALSE(w.NewWindow());
  Session().Quit();
  Pump(50);
  EXPECT_EQ(CallExport("DllCanUnloadNow"), S_OK) << "a hook set or a helper object outlived its tab";
}

TEST_P(TabShapeTest, TheCountFollowsEveryTabAndOnlyTheLastTabOfTheLastWindowEndsTheSessionOnce) {
  const std::vector<std::vector<size_t>> orders = {{1, 2, 3}, {3, 2, 1}, {2, 3, 1}};
  size_t firstWindow = 1;  // windows are numbered in the order the session opened them
  for (const std::vector<size_t>& order : orders) {
    SCOPED_TRACE("tabs closed in the order " + std::to_string(order[0]) + std::to_string(order[1]) +
                 std::to_string(order[2]));
    m_key.Set("CountIE", "0");
    m_log.calls = 0;
    const int signalsBefore = m_tray.formCloseClicks();
    OpenWindow(3);
    host::HostWindow& second = Session().Open();
    second.Navigate("http://other.example/");
    EXPECT_EQ(m_key.Get("CountIE"), "4");
    ASSERT_TRUE(Session().Select(firstWindow));
    firstWindow += 2;
    // One tab of the first window closes on its own.
    host::HostWindow& first = Session().Current();
    ASSERT_TRUE(first.SelectTab(order[0]));
    first.CloseTab();
    Pump(100);
    EXPECT_EQ(m_key.Get("CountIE"), "3");
    // Then the first window with the two tabs left, in the order given.
    Session().Quit({order[1], order[2]});
    Pump(100);
    EXPECT_EQ(m_key.Get("CountIE"), "1");
    EXPECT_EQ(m_tray.formCloseClicks(), signalsBefore) << "the tray was told before the last tab";
    EXPECT_EQ(m_log.calls, 0) << "cookies cleaned before the last tab";
    Session().QuitAll();
    Pump(100);
    EXPECT_EQ(m_key.Get("CountIE"), "0");
    EXPECT_EQ(m_tray.formCloseClicks(), signalsBefore + 1);
    EXPECT_EQ(m_log.calls, 1);
    EXPECT_EQ(Session().ListedBrowsers(), 0u);
  }
}

// Both tabs of the last window released to quit by one event: each recounted while the other
// was still listed, so neither told the tray, and cookies were never cleaned. Through the
// scenario command, as the demo drives it.
TEST_P(TabShapeTest, TwoTabsQuittingAtTheSameMomentEndTheSessionOnce) {
  for (int round = 1; round <= 3; ++round) {
    SCOPED_TRACE(round);
    m_key.Set("CountIE", "0");
    m_log.calls = 0;
    const int signalsBefore = m_tray.formCloseClicks();
    OpenWindow(2);
    EXPECT_EQ(m_key.Get("CountIE"), "2");
    std::istringstream script("quit together 1 2\n");
    std::ostringstream out;
    ASSERT_EQ(host::RunCommands(Session(), script, out), 0) << out.str();
    Pump(200);
    EXPECT_EQ(m_key.Get("CountIE"), "0");
    EXPECT_EQ(Session().ListedBrowsers(), 0u);
    const bool listedWhileQuitting = std::string(GetParam()).find("noquit") == std::string::npos;
    if (listedWhileQuitting) {
      EXPECT_EQ(m_tray.formCloseClicks(), signalsBefore + 1) << "the tray is told once";
      EXPECT_EQ(m_log.calls, 1) << "cookies are cleaned once";
    } else {
      // Off the list before they lose their sites, the tabs never see each other: each ends
      // the session, and neither may miss it.
      EXPECT_GE(m_tray.formCloseClicks(), signalsBefore + 1);
      EXPECT_GE(m_log.calls, 1);
    }
  }
}

// The stand-in browser as a process of its own in `shape`, on `scenario`; the results of its
// new-window requests in order ("allowed", "blocked"). Keys go to a process of their own: under
// Wine a tab thread that took keys does not come back from its teardown once another window of
// the same process took keys before it (the stand-in then waits 30 s for each tab).
std::vector<std::string> HostResults(const char* shape, const std::string& scenario) {
  HelperTest::WriteFileForHost("keys-scenario.txt", scenario);
  const std::string dir = HelperTest::FolderForHost();
  const std::string outFile = dir + "\\keys-out.txt";
  SECURITY_ATTRIBUTES sa = {sizeof(sa), nullptr, TRUE};
  HANDLE out = ::CreateFileA(outFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &sa, CREATE_ALWAYS, 0, nullptr);
  std::vector<std::string> results;
  if (out == INVALID_HANDLE_VALUE) return results;
  std::string cmd = std::string("\"") + VEXBANE_BROWSERHOST_PATH + "\" --shape " + shape + " \"" + dir +
                    "\\keys-scenario.txt\"";
  STARTUPINFOA si = {sizeof(si)};
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdOutput = out;
  si.hStdError = out;
  si.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
  PROCESS_INFORMATION pi = {};
  const BOOL started = ::CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi);
  ::CloseHandle(out);
  if (!started) return results;
  // The host reports its blocks to this thread's recording tray: keep taking messages.
  for (int waited = 0; waited < 600 && ::WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT; ++waited)
    host::HostSession::Pump(100);
  ::CloseHandle(pi.hThread);
  ::CloseHandle(pi.hProcess);
  std::string text = HelperTest::ReadFile("keys-out.txt"), line;
  for (char c : text + "\n") {
    if (c == '\r') continue;
    if (c != '\n') {
      line += c;
      continue;
    }
    if (line.rfind("newwindow ", 0) == 0) results.push_back(line.substr(10));
    line.clear();
  }
  return results;
}

TEST_P(TabShapeTest, AKeyBelongsToTheTabItWasPressedIn) {
  const std::vector<std::string> got = HostResults(
      GetParam(),
      "browser sp2\nnavigate http://a.example/\ntab new\nnavigate http://b.example/\n"
      "tab 1\nkey enter\ntab 2\nnewwindow\ntab 1\nnewwindow\n"  // Enter in tab 1: only tab 1's window
      "key space\nnewwindow\n"                                       // Space on a button
      "key a\nnewwindow\n"                                           // a letter typed in a text box
      "tab 2\nkey tab\nkey space\nnewwindow\ntab 1\nnewwindow\nquit\n");
  const std::vector<std::string> want = {"blocked", "allowed", "allowed", "blocked", "allowed", "blocked"};
  EXPECT_EQ(got, want);
}

TEST_P(TabShapeTest, TheBrowsersFlagsAreHeardInEveryTabShape) {
  host::HostWindow& w = OpenWindow(2);
  w.SetEventOrder(host::EventOrder::NewWindow3Then2);  // as IE 7 and 8 raise them
  constexpr long kScript = 0x0002 | 0x0004;
  m_key.Set("Popup", "4");
  EXPECT_FALSE(w.NewWindow(host::kDefaultPopupUrl, kScript | 0x80)) << "NWMF_USERREQUESTED at level 4";
  EXPECT_FALSE(w.NewWindow(host::kDefaultPopupUrl, kScript | 0x80000 | 0x100)) << "a tab the user let through";
  EXPECT_TRUE(w.NewWindow(host::kDefaultPopupUrl, kScript)) << "the page's own request";
  m_key.Set("Popup", "1");
  ClickInTab(w, 2);
  const size_t before = m_records.received().size();
  EXPECT_TRUE(w.NewWindow(host::kDefaultPopupUrl, kScript | 0x1)) << "NWMF_UNLOADING right after a click";
  Pump(50);
  ASSERT_EQ(m_records.received().size(), before + 1);
  EXPECT_EQ(m_records.received().back().record.reason, blocks::BlockReason::PageClosing);
  EXPECT_FALSE(w.NewWindow()) << "the click stays for the window the user wanted";
}

INSTANTIATE_TEST_SUITE_P(Shapes, TabShapeTest, ::testing::Values("ie7", "ie7-noquit", "ie8", "ie8-noquit"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                           std::string name = info.param;
                           for (char& c : name)
                             if (c == '-') c = '_';
                           return name;
                         });

}  // namespace
}  // namespace vexbane::ext::testing
