// Block records at the tray form: what is taken, what is ignored, the "Recently Blocked" window
// and its buttons, and the counters across a restart and across midnight.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>

#include "ToolWindows.h"
#include "core/block_counters.h"
#include "core/block_record.h"
#include "core/block_record_v2.h"
#include "core/block_record_v3.h"
#include "dialogs_helpers.h"
#include "frmMessage.h"
#include "frmPopupAdvanced.h"
#include "frmRecentBlocked.h"
#include "testsupport/browser_frame.h"
#include "tray_test_support.h"

namespace vexbane::tray::testing {
namespace {

using blocks::BlockKind;
using blocks::BlockReason;
using blocks::BlockRecordWire;
using vexbane::testing::BrowserFrame;
using testing::PressKey;

class FakeClock final : public blocks::Clock {
 public:
  blocks::LocalDate date{2024, 3, 9};
  blocks::LocalDate Today() override { return date; }
};

blocks::BlockRecord Record(const std::string& url, BlockKind kind = BlockKind::NewWindow,
                           BlockReason reason = BlockReason::NoClick, int16_t level = 2) {
  blocks::BlockRecord r;
  r.kind = kind;
  r.reason = reason;
  r.level = level;
  r.timeOfDayMs = 10 * 3600000;
  r.pageUrl = url;
  return r;
}

LRESULT SendBytes(HWND form, HWND sender, const void* bytes, DWORD size, ULONG_PTR tag = blocks::kRecordTag) {
  COPYDATASTRUCT data = {tag, size, const_cast<void*>(bytes)};
  return ::SendMessageA(form, WM_COPYDATA, reinterpret_cast<WPARAM>(sender), reinterpret_cast<LPARAM>(&data));
}

class RecentBlockedTest : public TrayFormFixture {
 protected:
  void SetUp() override {
    TrayFormFixture::SetUp();
    Module().blockTally = blocks::BlockTally(m_clock);
  }
  void TearDown() override {
    UnloadToolWindows();
    TrayFormFixture::TearDown();
  }

  LRESULT Send(const blocks::BlockRecord& record) {
    BlockRecordWire wire = blocks::EncodeBlockRecord(record);
    return SendBytes(Form(), m_frame.hwnd(), &wire, sizeof wire);
  }
  HWND OpenWindow() {
    Command(TrayItem::mnuRecentBlocked);
    return FindOwnWindow(frmRecentBlocked::kClassName);
  }
  static HWND Control(HWND form, int id) { return ::GetDlgItem(form, id); }
  // The window opened over one block of `url`, its row selected for a button; null when the
  // window did not open.
  HWND OpenOnOneBlock(const std::string& url) {
    LoadForm();
    Send(Record(url));
    HWND form = OpenWindow();
    if (form) ::SendMessageA(Control(form, frmRecentBlocked::lstBlocks), LB_SETCURSEL, 0, 0);
    return form;
  }

  FakeClock m_clock;
  BrowserFrame m_frame;
};

TEST_F(RecentBlockedTest, RecordsShowUpNewestFirstWithSiteKindAndReasonCappedAtTwenty) {
  LoadForm();
  EXPECT_EQ(TRUE, Send(Record("http://first.example/a", BlockKind::Dialog, BlockReason::LateClick, 3)));
  for (int i = 2; i <= 24; ++i) EXPECT_EQ(TRUE, Send(Record("http://site" + std::to_string(i) + ".example/")));
  EXPECT_EQ(TRUE, Send(Record("HTTP://Last.Example:8080/x", BlockKind::NewWindow, BlockReason::BlockAll, 4)));

  HWND form = OpenWindow();
  ASSERT_NE(form, nullptr);
  EXPECT_TRUE(Module().blnRecentFormOpen);
  const auto rows = ListBoxItems(Control(form, frmRecentBlocked::lstBlocks));
  ASSERT_EQ(rows.size(), 20u);
  EXPECT_EQ(rows[0], "10:00:00\tlast.example\t\tnew window\tBlock All Popup");
  EXPECT_EQ(rows[1], "10:00:00\tsite24.example\t\tnew window\tno click");
  EXPECT_EQ(rows[19], "10:00:00\tsite6.example\t\tnew window\tno click") << "the five oldest fell off";
  EXPECT_EQ(Text(Control(form, frmRecentBlocked::lblCounts)), "Blocked today: 25     In all: 25");
  EXPECT_EQ(m_key.Get("BlocksToday"), "25");
  EXPECT_EQ(m_key.Get("BlocksTotal"), "25");
  EXPECT_EQ(m_key.Get("BlocksDay"), "20240309");
}

TEST_F(RecentBlockedTest, AnOpenWindowShowsANewBlockAtOnceAndKeepsTheSelection) {
  LoadForm();
  Send(Record("http://one.example/"));
  HWND form = OpenWindow();
  ASSERT_NE(form, nullptr);
  HWND list = Control(form, frmRecentBlocked::lstBlocks);
  ::SendMessageA(list, LB_SETCURSEL, 0, 0);
  Send(Record("http://two.example/", BlockKind::Dialog));
  const auto rows = ListBoxItems(list);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0], "10:00:00\ttwo.example\t\tdialog\tno click");
  EXPECT_EQ(::SendMessageA(list, LB_GETCURSEL, 0, 0), 1) << "the selected block moved down with its row";
  EXPECT_EQ(Text(Control(form, frmRecentBlocked::lblCounts)), "Blocked today: 2     In all: 2");
}

TEST_F(RecentBlockedTest, MalformedRecordsChangeNothing) {
  LoadForm();
  BlockRecordWire good = blocks::EncodeBlockRecord(Record("http://x.example/"));
  std::vector<char> longer(sizeof good + 16, 0);
  std::memcpy(longer.data(), &good, sizeof good);
  BlockRecordWire wrongVersion = good;
  wrongVersion.version = 2;
  BlockRecordWire noNul = good;
  std::memset(noNul.pageUrl, 'x', sizeof noNul.pageUrl);
  BlockRecordWire badKind = good;
  badKind.kind = 9;
  HWND notABrowser = ::CreateWindowExA(0, "STATIC", "x", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);

  EXPECT_EQ(FALSE, SendBytes(Form(), m_frame.hwnd(), &good, sizeof good - 1)) << "short";
  EXPECT_EQ(FALSE, SendBytes(Form(), m_frame.hwnd(), longer.data(), static_cast<DWORD>(longer.size()))) << "long";
  EXPECT_EQ(FALSE, SendBytes(Form(), m_frame.hwnd(), &wrongVersion, sizeof good)) << "version";
  EXPECT_EQ(FALSE, SendBytes(Form(), m_frame.hwnd(), &noNul, sizeof good)) << "no NUL";
  EXPECT_EQ(FALSE, SendBytes(Form(), m_frame.hwnd(), &badKind, sizeof good)) << "kind";
  EXPECT_EQ(FALSE, SendBytes(Form(), m_frame.hwnd(), &good, sizeof good, 0x1234)) << "another program's data";
  EXPECT_EQ(FALSE, SendBytes(Form(), m_frame.hwnd(), nullptr, sizeof good)) << "no data";
  EXPECT_EQ(FALSE, SendBytes(Form(), notABrowser, &good, sizeof good)) << "not from a browser frame";
  EXPECT_EQ(FALSE, SendBytes(Form(), nullptr, &good, sizeof good)) << "from no window";
  EXPECT_EQ(FALSE, ::SendMessageA(Form(), WM_COPYDATA, 0, 0)) << "no COPYDATASTRUCT";
  ::DestroyWindow(notABrowser);

  EXPECT_EQ(Module().recentBlocks.size(), 0u);
  EXPECT_EQ(m_key.Get("BlocksTotal"), "<missing>");
  EXPECT_EQ(m_key.Get("BlocksToday"), "<missing>");
  EXPECT_TRUE(::IsWindow(Form()));
  HWND form = OpenWindow();
  ASSERT_NE(form, nullptr);
  EXPECT_TRUE(ListBoxItems(Control(form, frmRecentBlocked::lstBlocks)).empty());
  EXPECT_EQ(Text(Control(form, frmRecentBlocked::lblStatus)),
            "No window has been blocked since Internet Explorer was started.");
}

TEST_F(RecentBlockedTest, CountersGoOnAfterARestartAndTheListStartsEmpty) {
  LoadForm();
  Send(Record("http://a.example/"));
  Send(Record("http://b.example/"));
  m_form.reset();  // the tray program ends ...
  PumpMessages();
  Module() = ModTray{};
  Module().strAppPath = m_folder.path();
  Module().blockTally = blocks::BlockTally(m_clock);
  LoadForm();  // ... and starts again
  EXPECT_EQ(Module().recentBlocks.size(), 0u);
  Send(Record("http://c.example/"));
  EXPECT_EQ(m_key.Get("BlocksToday"), "3");
  EXPECT_EQ(m_key.Get("BlocksTotal"), "3");
}

TEST_F(RecentBlockedTest, ANewDayStartsTodaysCountAtMidnightAndAtAStartOnAnotherDay) {
  m_key.Set("BlocksToday", "7");
  m_key.Set("BlocksTotal", "50");
  m_key.Set("BlocksDay", "20240308");  // the tray last counted yesterday
  LoadForm();
  HWND form = OpenWindow();
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(Text(Control(form, frmRecentBlocked::lblCounts)), "Blocked today: 0     In all: 50");
  Send(Record("http://a.example/"));
  EXPECT_EQ(m_key.Get("BlocksToday"), "1");
  EXPECT_EQ(m_key.Get("BlocksTotal"), "51");
  EXPECT_EQ(m_key.Get("BlocksDay"), "20240309");

  m_clock.date = {2024, 3, 10};  // local midnight passes while the tray runs
  Send(Record("http://b.example/"));
  EXPECT_EQ(m_key.Get("BlocksToday"), "1");
  EXPECT_EQ(m_key.Get("BlocksTotal"), "52");
  EXPECT_EQ(m_key.Get("BlocksDay"), "20240310");
  EXPECT_EQ(Text(Control(form, frmRecentBlocked::lblCounts)), "Blocked today: 1     In all: 52");
}

TEST_F(RecentBlockedTest, AllowSiteAddsTheHostOnceAtItsSortedPlace) {
  m_folder.Write("WebSite.dat", "2\r\nalpha.example\r\nzulu.example\r\n");
  HWND form = OpenOnOneBlock("http://WWW.News.Example/story?id=1");
  ASSERT_NE(form, nullptr);
  Click(form, frmRecentBlocked::cmdAllowSite);
  EXPECT_EQ(m_folder.Read("WebSite.dat"), "3\r\nalpha.example\r\nwww.news.example\r\nzulu.example\r\n");
  EXPECT_EQ(Text(Control(form, frmRecentBlocked::lblStatus)),
            "www.news.example was added to the allow list: its next windows open.");
  Click(form, frmRecentBlocked::cmdAllowSite);
  EXPECT_EQ(m_folder.Read("WebSite.dat"), "3\r\nalpha.example\r\nwww.news.example\r\nzulu.example\r\n");
  EXPECT_EQ(Text(Control(form, frmRecentBlocked::lblStatus)), "www.news.example is already on the allow list.");
}

TEST_F(RecentBlockedTest, AllowSiteCreatesAMissingListAndLeavesPagesWithoutASiteAlone) {
  LoadForm();
  Send(Record("about:blank"));
  Send(Record("http://shop.example/pay"));
  HWND form = OpenWindow();
  ASSERT_NE(form, nullptr);
  HWND list = Control(form, frmRecentBlocked::lstBlocks);
  ::SendMessageA(list, LB_SETCURSEL, 1, 0);  // about:blank
  Click(form, frmRecentBlocked::cmdAllowSite);
  EXPECT_EQ(Text(Control(form, frmRecentBlocked::lblStatus)), "This page has no site to allow.");
  ::SendMessageA(list, LB_SETCURSEL, 0, 0);
  Click(form, frmRecentBlocked::cmdAllowSite);
  EXPECT_EQ(m_folder.Read("WebSite.dat"), "1\r\nshop.example\r\n");
}

TEST_F(RecentBlockedTest, TheNewestRowIsSelectedAndTheRowButtonsNeedASelection) {
  LoadForm();
  Send(Record("http://a.example/first"));
  Send(Record("http://b.example/second"));
  HWND form = OpenWindow();
  ASSERT_NE(form, nullptr);
  HWND list = Control(form, frmRecentBlocked::lstBlocks);
  EXPECT_EQ(::SendMessageA(list, LB_GETCURSEL, 0, 0), 0) << "the newest block";
  EXPECT_EQ(list, ::GetFocus());
  EXPECT_EQ(Text(Control(form, frmRecentBlocked::lblStatus)),
            "Page: http://b.example/second\r\nWindow: (the browser did not say)");
  EXPECT_TRUE(::IsWindowEnabled(Control(form, frmRecentBlocked::cmdAllowSite)));
  EXPECT_TRUE(::IsWindowEnabled(Control(form, frmRecentBlocked::cmdCopyAddress)));
  EXPECT_FALSE(::IsWindowEnabled(Control(form, frmRecentBlocked::cmdOpen))) << "no target to open";

  // No row: no button that acts on one, and a click on one does nothing at all.
  ::SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  ::SendMessageA(form, WM_COMMAND, MAKEWPARAM(frmRecentBlocked::lstBlocks, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
  for (int id : {frmRecentBlocked::cmdOpen, frmRecentBlocked::cmdAllowSite, frmRecentBlocked::cmdBlockHost,
                 frmRecentBlocked::cmdCopyAddress})
    EXPECT_FALSE(::IsWindowEnabled(Control(form, id))) << id;
  EXPECT_TRUE(::IsWindowEnabled(Control(form, frmRecentBlocked::cmdExit)));
  Click(form, frmRecentBlocked::cmdAllowSite);
  EXPECT_EQ(FindOwnWindow(frmMessage::kClassName), nullptr);
  EXPECT_EQ(m_folder.Read("WebSite.dat"), "<missing>");

  // An empty list opens with nothing selected and the buttons off.
  UnloadToolWindows();
  Module().recentBlocks = blocks::RecentBlocks{};
  form = OpenWindow();
  ASSERT_NE(form, nullptr);
  EXPECT_FALSE(::IsWindowEnabled(Control(form, frmRecentBlocked::cmdAllowSite)));
  EXPECT_FALSE(::IsWindowEnabled(Control(form, frmRecentBlocked::cmdCopyAddress)));
}

TEST_F(RecentBlockedTest, CopyAddressPutsThePageAddressOnTheClipboard) {
  HWND form = OpenOnOneBlock("http://copy.example/page?q=1");
  ASSERT_NE(form, nullptr);
  Click(form, frmRecentBlocked::cmdCopyAddress);
  ASSERT_TRUE(::OpenClipboard(nullptr));
  HANDLE data = ::GetClipboardData(CF_TEXT);
  std::string text = data ? static_cast<const char*>(::GlobalLock(data)) : "<none>";
  if (data) ::GlobalUnlock(data);
  ::CloseClipboard();
  EXPECT_EQ(text, "http://copy.example/page?q=1");
}

// What "Copy Address" hands to EmptyClipboard's sent WM_DESTROYCLIPBOARD: the clipboard's last
// owner, on a thread of its own, is a browser helper that reports a block at that moment.
struct ClipboardRace {
  HWND trayForm = nullptr;
  HWND frame = nullptr;
  bool reported = false;
};
ClipboardRace g_race;

LRESULT CALLBACK ClipboardOwnerProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_DESTROYCLIPBOARD && g_race.trayForm) {
    BlockRecordWire wire = blocks::EncodeBlockRecord(Record("http://during.example/"));
    COPYDATASTRUCT data = {blocks::kRecordTag, sizeof wire, &wire};
    g_race.reported = ::SendMessageA(g_race.trayForm, WM_COPYDATA, reinterpret_cast<WPARAM>(g_race.frame),
                                     reinterpret_cast<LPARAM>(&data)) == TRUE;
    g_race.trayForm = nullptr;
  }
  return ::DefWindowProcA(window, msg, wParam, lParam);
}

// EmptyClipboard lets other threads' sent messages in. A block record arriving then drops the
// twentieth row, the one selected: the address copied is still the one the user chose.
TEST_F(RecentBlockedTest, CopyAddressCopiesTheChosenAddressWhenABlockArrivesMeanwhile) {
  LoadForm();
  const std::string oldest = "http://oldest.example/" + std::string(300, 'o') + "/end";
  Send(Record(oldest));
  for (int i = 1; i < 20; ++i) Send(Record("http://r" + std::to_string(i) + ".example/"));
  HWND form = OpenWindow();
  ASSERT_NE(form, nullptr);
  ::SendMessageA(Control(form, frmRecentBlocked::lstBlocks), LB_SETCURSEL, 19, 0);
  ASSERT_EQ(Module().recentBlocks.Find(Module().recentBlocks.Rows().back().id)->record.pageUrl, oldest);

  g_race = {Form(), m_frame.hwnd(), false};
  HANDLE ready = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
  DWORD ownerThread = 0;
  std::thread owner([&] {
    ownerThread = ::GetCurrentThreadId();
    WNDCLASSA wc = {};
    wc.lpfnWndProc = &ClipboardOwnerProc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = "VexbaneTestClipboardOwner";
    ::RegisterClassA(&wc);
    HWND window = ::CreateWindowExA(0, wc.lpszClassName, "", 0, 0, 0, 0, 0, nullptr, nullptr, wc.hInstance, nullptr);
    if (window && ::OpenClipboard(window)) {
      ::EmptyClipboard();
      HGLOBAL text = ::GlobalAlloc(GMEM_MOVEABLE, 7);
      std::memcpy(::GlobalLock(text), "before", 7);
      ::GlobalUnlock(text);
      ::SetClipboardData(CF_TEXT, text);
      ::CloseClipboard();
    }
    ::SetEvent(ready);
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) ::DispatchMessageA(&msg);
    ::DestroyWindow(window);
  });
  ASSERT_EQ(::WaitForSingleObject(ready, 5000), WAIT_OBJECT_0);
  Click(form, frmRecentBlocked::cmdCopyAddress);
  ::PostThreadMessageA(ownerThread, WM_QUIT, 0, 0);
  owner.join();
  ::CloseHandle(ready);

  EXPECT_TRUE(g_race.reported) << "the block arrived while the clipboard was emptied";
  EXPECT_EQ(Module().recentBlocks.Rows().front().site, "during.example");
  EXPECT_EQ(Module().recentBlocks.size(), 20u) << "the chosen row fell off";
  ASSERT_TRUE(::OpenClipboard(nullptr));
  HANDLE data = ::GetClipboardData(CF_TEXT);
  std::string text = data ? static_cast<const char*>(::GlobalLock(data)) : "<none>";
  if (data) ::GlobalUnlock(data);
  ::CloseClipboard();
  EXPECT_EQ(text, oldest);
}

// Any local program may send a record; the sender check only asks that wParam names a browser
// frame. An address that breaks a line never becomes a row, so "Allow Site" can never write it.
TEST_F(RecentBlockedTest, ARecordWhoseAddressHoldsALineBreakIsRefused) {
  m_folder.Write("WebSite.dat", "1\r\nalpha.example\r\n");
  LoadForm();
  for (const char* address : {"http://evil.example\r\nhttp/", "http://evil.example/\nhttp", "http://a\tb.example/"})
    EXPECT_EQ(FALSE, Send(Record(address))) << address;
  EXPECT_EQ(Module().recentBlocks.size(), 0u);
  EXPECT_EQ(m_key.Get("BlocksTotal"), "<missing>");
  EXPECT_EQ(m_folder.Read("WebSite.dat"), "1\r\nalpha.example\r\n");
}

TEST_F(RecentBlockedTest, AllowSiteThatCannotReadTheListSaysSoInTheMessageBox) {
  m_folder.Write("WebSite.dat", "1\r\nalpha.example\r\n");
  HWND form = OpenOnOneBlock("http://news.example/");
  ASSERT_NE(form, nullptr);
  HANDLE held = HoldFile(m_folder.File("WebSite.dat"), 0);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  MessageBoxAnswerer notice(frmMessage::cmdYes, form);
  Click(form, frmRecentBlocked::cmdAllowSite);
  const SeenMessageBox& seen = notice.Seen();
  ::CloseHandle(held);
  ASSERT_TRUE(seen.found);
  EXPECT_EQ(seen.title, "Allow site");
  EXPECT_EQ(seen.text, "The allow list could not be read; nothing was changed. WebSite.dat is held open by another program; try again once that program has closed it.");
  EXPECT_EQ(Text(Control(form, frmRecentBlocked::lblStatus)), seen.text);
  EXPECT_EQ(m_folder.Read("WebSite.dat"), "1\r\nalpha.example\r\n");
}

TEST_F(RecentBlockedTest, OneToolWindowAtATimeAndExitClosesIt) {
  LoadForm();
  HWND recent = OpenWindow();
  ASSERT_NE(recent, nullptr);
  Command(TrayItem::mnuWhiteList);
  EXPECT_FALSE(::IsWindow(recent));
  EXPECT_FALSE(Module().blnRecentFormOpen);
  EXPECT_NE(FindOwnWindow(frmPopupAdvanced::kClassName), nullptr);
  recent = OpenWindow();
  ASSERT_NE(recent, nullptr);
  EXPECT_EQ(FindOwnWindow(frmPopupAdvanced::kClassName), nullptr);
  EXPECT_EQ(OpenWindow(), recent) << "a second command leaves the open window";
  Click(recent, frmRecentBlocked::cmdExit);
  EXPECT_FALSE(::IsWindow(recent));
  EXPECT_FALSE(Module().blnRecentFormOpen);
}

TEST_F(RecentBlockedTest, TabMovesOnAndEscapeClosesAsInTheEditors) {
  LoadForm();
  HWND recent = OpenWindow();
  ASSERT_NE(recent, nullptr);
  HWND list = ::GetDlgItem(recent, frmRecentBlocked::lstBlocks);
  ::SetFocus(list);
  ::PostMessageA(list, WM_KEYDOWN, VK_TAB, 0);
  PumpMessages();
  EXPECT_EQ(::GetNextDlgTabItem(recent, list, FALSE), ::GetFocus());
  ::PostMessageA(::GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0);
  PumpMessages();
  EXPECT_FALSE(::IsWindow(recent));
  EXPECT_FALSE(Module().blnRecentFormOpen);
}

TEST_F(RecentBlockedTest, ABlinkDoesNotKeepARecordWaiting) {
  LoadForm();
  // Another thread reports while this thread blinks the icon (about 1.2 s of the handler).
  std::atomic<LRESULT> taken{-1};
  std::atomic<DWORD> waited{0};
  HWND form = Form();
  HWND frame = m_frame.hwnd();
  std::thread browser([&] {
    ::Sleep(300);
    BlockRecordWire wire = blocks::EncodeBlockRecord(Record("http://during.example/"));
    COPYDATASTRUCT data = {blocks::kRecordTag, sizeof wire, &wire};
    DWORD_PTR result = 0;
    const DWORD start = ::GetTickCount();
    LRESULT sent = ::SendMessageTimeoutA(form, WM_COPYDATA, reinterpret_cast<WPARAM>(frame),
                                         reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG | SMTO_BLOCK, 2000, &result);
    waited = ::GetTickCount() - start;
    taken = sent ? static_cast<LRESULT>(result) : 0;
  });
  ::SendMessageA(m_form->cmdBlock(), BM_CLICK, 0, 0);
  browser.join();
  EXPECT_EQ(taken.load(), TRUE);
  EXPECT_LT(waited.load(), 600u) << "answered within the blink, not after it";
  EXPECT_EQ(Module().recentBlocks.size(), 1u);
  EXPECT_EQ(State().blinks, 1);
}

// Version 2 records: where the window was going, its own row column and buttons.
class RecentBlockedTargetTest : public RecentBlockedTest {
 protected:
  LRESULT SendV2(const blocks::BlockRecord& record) {
    blocks::BlockRecordWireV2 wire = blocks::EncodeBlockRecordV2(record);
    return SendBytes(Form(), m_frame.hwnd(), &wire, sizeof wire);
  }
  static blocks::BlockRecord WithTarget(const std::string& page, const std::string& target, uint32_t id) {
    blocks::BlockRecord r = Record(page);
    r.targetUrl = target;
    r.blockId = id;
    return r;
  }
  static std::string Clipboard() {
    if (!::OpenClipboard(nullptr)) return "<closed>";
    HANDLE data = ::GetClipboardData(CF_TEXT);
    std::string text = data ? static_cast<const char*>(::GlobalLock(data)) : "<none>";
    if (data) ::GlobalUnlock(data);
    ::CloseClipboard();
    return text;
  }
  static void Select(HWND form, int row) {
    HWND list = Control(form, frmRecentBlocked::lstBlocks);
    ::SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(row), 0);
    ::SendMessageA(form, WM_COMMAND, MAKEWPARAM(frmRecentBlocked::lstBlocks, LBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(list));
  }
  // The window over one version 2 block, its row selected; null when it did not open.
  HWND OpenOnOneTargetBlock(const std::string& page, const std::string& target, uint32_t id) {
    LoadForm();
    SendV2(WithTarget(page, target, id));
    HWND form = OpenWindow();
    if (form) Select(form, 0);
    return form;
  }
};

TEST_F(RecentBlockedTargetTest, OpensShowsTheTargetsHostAndCopyAddressCopiesTheTarget) {
  LoadForm();
  EXPECT_EQ(TRUE, SendV2(WithTarget("http://news.example/a", "http://Pop.Ads.Example/w?id=1", 5)));
  EXPECT_EQ(TRUE, Send(Record("http://old.example/")));  // an older helper's record
  HWND form = OpenWindow();
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(Text(Control(form, frmRecentBlocked::lblOpens)), "Opens");
  const auto rows = ListBoxItems(Control(form, frmRecentBlocked::lstBlocks));
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0], "10:00:00\told.example\t\tnew window\tno click");
  EXPECT_EQ(rows[1], "10:00:00\tnews.example\tpop.ads.example\tnew window\tno click");
  Select(form, 1);
  Click(form, frmRecentBlocked::cmdCopyAddress);
  EXPECT_EQ(Clipboard(), "http://Pop.Ads.Example/w?id=1");
  EXPECT_EQ(Text(Control(form, frmRecentBlocked::lblStatus)), "The blocked window's address is on the clipboard.");
  Select(form, 0);
  Click(form, frmRecentBlocked::cmdCopyAddress);
  EXPECT_EQ(Clipboard(), "http://old.example/") << "no target: the page's address";
}

TEST_F(RecentBlockedTargetTest, OpenAndBlockHostNeedATarget) {
  LoadForm();
  SendV2(WithTarget("http://news.example/a", "http://x.ads.example/w", 3));
  Send(Record("http://old.example/"));
  HWND form = OpenWindow();
  ASSERT_NE(form, nullptr);
  EXPECT_FALSE(::IsWindowEnabled(Control(form, frmRecentBlocked::cmdOpen))) << "nothing selected";
  Select(form, 0);
  EXPECT_FALSE(::IsWindowEnabled(Control(form, frmRecentBlocked::cmdOpen))) << "no target";
  EXPECT_FALSE(::IsWindowEnabled(Control(form, frmRecentBlocked::cmdBlockHost)));
  Select(form, 1);
  EXPECT_TRUE(::IsWindowEnabled(Control(form, frmRecentBlocked::cmdOpen)));
  EXPECT_TRUE(::IsWindowEnabled(Control(form, frmRecentBlocked::cmdBlockHost)));
}

TEST_F(RecentBlockedTargetTest, OpenPostsTheBlocksNumberToTheFrameThatTried) {
  HWND form = OpenOnOneTargetBlock("http://news.example/a", "http://x.ads.example/w", 42);
  ASSERT_NE(form, nullptr);
  Click(form, frmRecentBlocked::cmdOpen);
  EXPECT_EQ(Text(Control(form, frmRecentBlocked::lblStatus)), "The window opens from the browser window that tried.");
  MSG msg = {};
  ASSERT_TRUE(::PeekMessageA(&msg, m_frame.hwnd(), 0xC000, 0xFFFF, PM_REMOVE));
  EXPECT_EQ(msg.message, ::RegisterWindowMessageA("VexbaneOpenBlocked"));
  EXPECT_EQ(msg.wParam, 42u);
  EXPECT_EQ(Module().recentBlocks.size(), 1u) << "opening is no block";
  EXPECT_EQ(m_key.Get("BlocksTotal"), "1");
}

// IE 7 and 8: the helper of a tab names a window of its own thread below the frame.
TEST_F(RecentBlockedTargetTest, OpenGoesToTheTabsWindowBelowTheFrameAndNeverToAWindowElsewhere) {
  LoadForm();
  HWND tab = ::CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 5, 5, m_frame.hwnd(), nullptr, nullptr, nullptr);
  HWND stray = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(tab && stray);
  auto sendV3 = [&](blocks::BlockRecord r, HWND openWindow) {
    r.kind = BlockKind::NewTab;
    r.openWindow = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(openWindow));
    blocks::BlockRecordWireV3 wire = blocks::EncodeBlockRecordV3(r);
    return SendBytes(Form(), m_frame.hwnd(), &wire, sizeof wire);
  };
  // A quote keeps the fallback from starting a browser: it can only refuse.
  ASSERT_EQ(sendV3(WithTarget("http://news.example/a", "http://x.example/\"q", 8), stray), TRUE);
  ASSERT_EQ(sendV3(WithTarget("http://news.example/b", "http://y.example/", 7), tab), TRUE);
  HWND form = OpenWindow();
  ASSERT_NE(form, nullptr);
  const auto rows = ListBoxItems(Control(form, frmRecentBlocked::lstBlocks));
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0], "10:00:00\tnews.example\ty.example\tnew tab\tno click");

  Select(form, 0);
  Click(form, frmRecentBlocked::cmdOpen);
  EXPECT_EQ(Text(Control(form, frmRecentBlocked::lblStatus)), "The window opens from the browser window that tried.");
  MSG msg = {};
  ASSERT_TRUE(::PeekMessageA(&msg, tab, 0xC000, 0xFFFF, PM_REMOVE)) << "posted to the tab's own window";
  EXPECT_EQ(msg.message, ::RegisterWindowMessageA("VexbaneOpenBlocked"));
  EXPECT_EQ(msg.wParam, 7u);
  EXPECT_FALSE(::PeekMessageA(&msg, m_frame.hwnd(), 0xC000, 0xFFFF, PM_REMOVE)) << "not to the frame as well";

  Select(form, 1);
  Click(form, frmRecentBlocked::cmdOpen);
  EXPECT_EQ(Text(Control(form, frmRecentBlocked::lblStatus)), "This address cannot be handed to a new browser window.");
  EXPECT_FALSE(::PeekMessageA(&msg, stray, 0xC000, 0xFFFF, PM_REMOVE)) << "a window outside the frame is never told";
  EXPECT_FALSE(::PeekMessageA(&msg, m_frame.hwnd(), 0xC000, 0xFFFF, PM_REMOVE));
  ::DestroyWindow(stray);
}

TEST_F(RecentBlockedTargetTest, BlockHostAddsTheTargetsHostOnceAndCreatesTheList) {
  m_folder.Write("WebSite.dat", "1\r\nkeep.example\r\n");
  HWND form = OpenOnOneTargetBlock("http://news.example/a", "http://X.Ads.Example:81/w", 1);
  ASSERT_NE(form, nullptr);
  Click(form, frmRecentBlocked::cmdBlockHost);
  EXPECT_EQ(m_folder.Read("BlockedHost.dat"), "1\r\nx.ads.example\r\n");
  EXPECT_EQ(Text(Control(form, frmRecentBlocked::lblStatus)),
            "x.ads.example was added to the Blocked Hosts list: its windows stay blocked after a click. To undo "
            "this, remove it in Blocked Hosts (tray menu).");
  Click(form, frmRecentBlocked::cmdBlockHost);
  EXPECT_EQ(m_folder.Read("BlockedHost.dat"), "1\r\nx.ads.example\r\n");
  EXPECT_EQ(Text(Control(form, frmRecentBlocked::lblStatus)), "x.ads.example is already on the Blocked Hosts list.");
  EXPECT_EQ(m_folder.Read("WebSite.dat"), "1\r\nkeep.example\r\n") << "the allow list is another file";
}

TEST_F(RecentBlockedTargetTest, BlockHostNeverWritesOverAListItCouldNotRead) {
  HWND form = OpenOnOneTargetBlock("http://news.example/a", "http://x.ads.example/w", 1);
  ASSERT_NE(form, nullptr);
  // A folder where the list should be: nothing to read, nothing may replace it.
  ASSERT_TRUE(::CreateDirectoryA(m_folder.File("BlockedHost.dat").c_str(), nullptr));
  Click(form, frmRecentBlocked::cmdBlockHost);
  EXPECT_EQ(Text(Control(form, frmRecentBlocked::lblStatus)),
            "The Blocked Hosts list could not be read; nothing was changed. A folder named BlockedHost.dat stands "
            "where the file belongs.");
  EXPECT_NE(::GetFileAttributesA(m_folder.File("BlockedHost.dat").c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
  ::RemoveDirectoryA(m_folder.File("BlockedHost.dat").c_str());

  // Held by another program that lets others read only: read, but not replaced.
  m_folder.Write("BlockedHost.dat", "1\r\nother.example\r\n");
  HANDLE held = HoldFile(m_folder.File("BlockedHost.dat"), FILE_SHARE_READ);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  Click(form, frmRecentBlocked::cmdBlockHost);
  ::CloseHandle(held);
  EXPECT_EQ(m_folder.Read("BlockedHost.dat"), "1\r\nother.example\r\n");
  EXPECT_EQ(Text(Control(form, frmRecentBlocked::lblStatus)),
            "The Blocked Hosts list could not be written; nothing was changed. BlockedHost.dat is held open by "
            "another program; try again once that program has closed it.");

  // Read-only: whether the system lets it be replaced or not, the entry already there stays.
  ::SetFileAttributesA(m_folder.File("BlockedHost.dat").c_str(), FILE_ATTRIBUTE_READONLY);
  Click(form, frmRecentBlocked::cmdBlockHost);
  ::SetFileAttributesA(m_folder.File("BlockedHost.dat").c_str(), FILE_ATTRIBUTE_NORMAL);
  const std::string after = m_folder.Read("BlockedHost.dat");
  EXPECT_TRUE(after == "1\r\nother.example\r\n" || after == "2\r\nother.example\r\nx.ads.example\r\n") << after;
}

// The texts a row draws, read back from the window's own drawing into a metafile.
int CALLBACK CollectText(HDC, HANDLETABLE*, const ENHMETARECORD* record, int, LPARAM param) {
  auto* texts = reinterpret_cast<std::vector<std::string>*>(param);
  if (record->iType == EMR_EXTTEXTOUTW) {
    const auto* out = reinterpret_cast<const EMREXTTEXTOUTW*>(record);
    const auto* chars = reinterpret_cast<const WCHAR*>(reinterpret_cast<const BYTE*>(record) + out->emrtext.offString);
    std::string text;
    for (DWORD i = 0; i < out->emrtext.nChars; ++i) text += static_cast<char>(chars[i]);
    texts->push_back(text);
  } else if (record->iType == EMR_EXTTEXTOUTA) {
    const auto* out = reinterpret_cast<const EMREXTTEXTOUTA*>(record);
    texts->emplace_back(reinterpret_cast<const char*>(record) + out->emrtext.offString, out->emrtext.nChars);
  }
  return 1;
}

std::vector<std::string> DrawnCells(HWND form, int row) {
  HWND list = ::GetDlgItem(form, frmRecentBlocked::lstBlocks);
  RECT rect = {};
  ::SendMessageA(list, LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&rect));
  HDC reference = ::GetDC(list);
  HDC metafile = ::CreateEnhMetaFileA(reference, nullptr, nullptr, nullptr);
  ::ReleaseDC(list, reference);
  DRAWITEMSTRUCT item = {};
  item.CtlType = ODT_LISTBOX;
  item.CtlID = frmRecentBlocked::lstBlocks;
  item.itemID = static_cast<UINT>(row);
  item.itemAction = ODA_DRAWENTIRE;
  item.hwndItem = list;
  item.hDC = metafile;
  item.rcItem = rect;
  ::SendMessageA(form, WM_DRAWITEM, frmRecentBlocked::lstBlocks, reinterpret_cast<LPARAM>(&item));
  HENHMETAFILE drawn = ::CloseEnhMetaFile(metafile);
  std::vector<std::string> texts;
  ::EnumEnhMetaFile(nullptr, drawn, &CollectText, &texts, nullptr);
  ::DeleteEnhMetaFile(drawn);
  return texts;
}

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// A host shows its end, the part that names where the window really goes: common hosts whole,
// a longer one with "..." at its start, never "www.bank...".
TEST_F(RecentBlockedTargetTest, HostsShowTheirEndInTheSiteAndOpensColumns) {
  LoadForm();
  const std::string longHost = "www.bank.example.secure-login.verify.account.ads.example";
  SendV2(WithTarget("http://" + longHost + "/p", "http://" + longHost + "/w", 2));
  SendV2(WithTarget("http://news.example/a", "http://www.bank.example.ads.example/w", 1));
  HWND form = OpenWindow();
  ASSERT_NE(form, nullptr);
  std::vector<std::string> common = DrawnCells(form, 0);
  ASSERT_EQ(common.size(), 5u);
  EXPECT_EQ(common[1], "news.example");
  EXPECT_EQ(common[2], "www.bank.example.ads.example") << "a common host reads whole";
  std::vector<std::string> shown = DrawnCells(form, 1);
  ASSERT_EQ(shown.size(), 5u);
  for (int column : {1, 2}) {
    EXPECT_EQ(shown[column].rfind("...", 0), 0u) << shown[column];
    EXPECT_TRUE(EndsWith(shown[column], "account.ads.example")) << shown[column];
    EXPECT_TRUE(EndsWith(longHost, shown[column].substr(3))) << shown[column];
  }
  EXPECT_EQ(shown[3], "new window");
  EXPECT_EQ(shown[4], "no click");
  // The window stays on the screen however wide it is.
  RECT window = {};
  ::GetWindowRect(form, &window);
  EXPECT_GE(window.left, 0);
  EXPECT_LE(window.right, ::GetSystemMetrics(SM_CXSCREEN));
}

// The last line of the status text lies inside the status area.
bool StatusShowsEveryLine(HWND status) {
  const LRESULT lines = ::SendMessageA(status, EM_GETLINECOUNT, 0, 0);
  RECT area = {};
  ::GetClientRect(status, &area);
  const LRESULT last = ::SendMessageA(status, EM_LINEINDEX, static_cast<WPARAM>(lines - 1), 0);
  const LRESULT at = ::SendMessageA(status, EM_POSFROMCHAR, static_cast<WPARAM>(last), 0);
  return at != -1 && static_cast<short>(HIWORD(at)) + 10 <= area.bottom;
}

TEST_F(RecentBlockedTargetTest, TheSelectedRowsWholeAddressesStandInTheStatusLine) {
  LoadForm();
  const std::string page = "http://news.example/story/2024/03/09/" + std::string(60, 's') + ".html";
  const std::string target = "http://www.bank.example.ads.example/click?campaign=" + std::string(80, 'c') + "&end=1";
  SendV2(WithTarget(page, target, 1));
  Send(Record("http://old.example/page"));
  HWND form = OpenWindow();
  ASSERT_NE(form, nullptr);
  HWND status = Control(form, frmRecentBlocked::lblStatus);
  EXPECT_EQ(Text(status), "Page: http://old.example/page\r\nWindow: (the browser did not say)");
  Select(form, 1);
  EXPECT_EQ(Text(status), "Page: " + page + "\r\nWindow: " + target);
  // Both wrap inside the status area, every line in sight.
  EXPECT_GE(::SendMessageA(status, EM_GETLINECOUNT, 0, 0), 3);
  EXPECT_TRUE(StatusShowsEveryLine(status));
  EXPECT_FALSE(::GetWindowLongPtrA(status, GWL_STYLE) & WS_VSCROLL) << "no scroll bar when all is in sight";

  // Addresses longer than the area holds can be scrolled to.
  SendV2(WithTarget("http://long.example/" + std::string(600, 'p'), "http://x.example/" + std::string(600, 't'), 2));
  Select(form, 0);
  EXPECT_TRUE(::GetWindowLongPtrA(status, GWL_STYLE) & WS_VSCROLL);
  EXPECT_EQ(::GetWindowTextLengthA(status),
            static_cast<int>(std::string("Page: http://long.example/\r\nWindow: http://x.example/").size() + 1200));
}

TEST_F(RecentBlockedTargetTest, AllowSiteOnABlockedHostsRowSaysTheHostStaysBlocked) {
  LoadForm();
  blocks::BlockRecord record = WithTarget("http://news.example/a", "http://x.ads.example/w", 9);
  record.reason = BlockReason::BlockedHost;
  SendV2(record);
  HWND form = OpenWindow();
  ASSERT_NE(form, nullptr);
  Click(form, frmRecentBlocked::cmdAllowSite);
  EXPECT_EQ(m_folder.Read("WebSite.dat"), "1\r\nnews.example\r\n");
  const std::string status = Text(Control(form, frmRecentBlocked::lblStatus));
  EXPECT_EQ(status.find("next windows open"), std::string::npos) << status;
  EXPECT_NE(status.find("x.ads.example stay blocked"), std::string::npos) << status;
  EXPECT_NE(status.find("Blocked Hosts (tray menu)"), std::string::npos) << status;
}

TEST_F(RecentBlockedTargetTest, EnterOnTheListOpensTheSelectedWindow) {
  LoadForm();
  SendV2(WithTarget("http://news.example/a", "http://x.ads.example/w", 77));
  HWND form = OpenWindow();
  ASSERT_NE(form, nullptr);
  PressKey(VK_RETURN, Control(form, frmRecentBlocked::lstBlocks));
  EXPECT_EQ(Text(Control(form, frmRecentBlocked::lblStatus)), "The window opens from the browser window that tried.");
  // The keyboard on "Copy Address": Enter presses that button, not "Open".
  PressKey(VK_RETURN, Control(form, frmRecentBlocked::cmdCopyAddress));
  EXPECT_EQ(Clipboard(), "http://x.ads.example/w");
  EXPECT_EQ(Text(Control(form, frmRecentBlocked::lblStatus)), "The blocked window's address is on the clipboard.");
  PressKey(VK_ESCAPE);
  EXPECT_FALSE(::IsWindow(form));
}

TEST_F(RecentBlockedTargetTest, RecordsWithControlBytesInAnAddressAreRefused) {
  LoadForm();
  blocks::BlockRecordWireV2 wire = blocks::EncodeBlockRecordV2(WithTarget("http://a.example/", "http://b.example/", 1));
  wire.targetUrl[8] = '\n';
  EXPECT_EQ(FALSE, SendBytes(Form(), m_frame.hwnd(), &wire, sizeof wire));
  EXPECT_EQ(Module().recentBlocks.size(), 0u);
}

}  // namespace
}  // namespace vexbane::tray::testing
