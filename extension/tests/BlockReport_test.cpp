// The block record that follows the click to the tray: what each block reports, where it goes,
// and what a tray that never answers costs the browser thread.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "HelperFixture.h"
#include "RecordingTray.h"
#include "ThreadState.h"
#include "TraySignal.h"
#include "core/block_record.h"

namespace vexbane::ext::testing {
namespace {

using blocks::BlockKind;
using blocks::BlockReason;

class BlockReportTest : public BothBrowsersTest {};
VEXBANE_BOTH_BROWSERS(BlockReportTest);


TEST_P(BlockReportTest, EachBlockedWindowReportsItsPageKindReasonAndLevel) {
  RecordingTray tray;
  m_key.Set("hButton", tray.HandleText());
  m_key.Set("Popup", "2");
  m_key.Set("Sound", "2");
  host::HostWindow& w = Session().Open();
  w.Navigate("http://ads.example/banner?x=1");
  ASSERT_TRUE(w.NewWindow());  // the first navigation used up the attach's click
  ASSERT_EQ(tray.received().size(), 1u);
  const auto& first = tray.received()[0];
  EXPECT_EQ(first.sender, w.frame()) << "the record names the browser frame that blocked";
  EXPECT_EQ(first.record.kind, BlockKind::NewWindow);
  EXPECT_EQ(first.record.reason, BlockReason::NoClick);
  EXPECT_EQ(first.record.level, 2);
  EXPECT_EQ(first.record.pageUrl, "http://ads.example/banner?x=1");
  EXPECT_EQ(TakeClicks(tray.button()), 1) << "the click to Block is posted as before";

  m_key.Set("Popup", "4");
  w.Navigate("http://shop.example/");
  EXPECT_TRUE(w.NewWindow());
  ASSERT_EQ(tray.received().size(), 2u);
  EXPECT_EQ(tray.received()[1].record.reason, BlockReason::BlockAll);
  EXPECT_EQ(tray.received()[1].record.level, 4);
  EXPECT_EQ(tray.received()[1].record.pageUrl, "http://shop.example/");
  EXPECT_EQ(tray.malformed(), 0);
}

TEST_P(BlockReportTest, AClickOutsideTheTimeWindowIsReportedAsALateClick) {
  RecordingTray tray;
  m_key.Set("hButton", tray.HandleText());
  m_key.Set("Popup", "2");
  m_key.Set("Sound", "2");
  host::HostWindow& w = Session().Open();  // the attach's click time, then 1 s: beyond 700 ms
  Pump(1000);
  ASSERT_TRUE(w.NewWindow());
  ASSERT_EQ(tray.received().size(), 1u);
  EXPECT_EQ(tray.received()[0].record.reason, BlockReason::LateClick);
}

TEST_P(BlockReportTest, AllowedWindowsAndForeignButtonsGetNoRecord) {
  RecordingTray tray;
  m_key.Set("hButton", tray.HandleText());
  m_key.Set("Popup", "2");
  m_key.Set("Sound", "2");
  WriteFile("WebSite.dat", "1\r\ntrusted.example\r\n");
  host::HostWindow& w = Session().Open();
  EXPECT_FALSE(w.NewWindow());  // the attach's click
  w.Navigate("http://www.trusted.example/");
  EXPECT_FALSE(w.NewWindow());  // allow list
  EXPECT_TRUE(tray.received().empty());

  ButtonWindow foreign("Some Other Program", "Block");
  m_key.Set("hButton", foreign.HandleText());
  host::HostWindow& other = Session().Open();
  other.Navigate("http://ads.example/");
  EXPECT_TRUE(other.NewWindow());
  EXPECT_TRUE(tray.received().empty());
}

// At level 4 every dialog is closed whatever the mouse did, so a real click left by an earlier
// suite of this thread cannot let it through; the reason for a dialog without a click is shown
// end to end by the Recently Blocked suite.
TEST_P(BlockReportTest, AClosedDialogReportsADialogBlock) {
  RecordingTray tray;
  m_key.Set("hButton", tray.HandleText());
  m_key.Set("Popup", "4");
  m_key.Set("Sound", "2");
  host::HostWindow& w = Session().Open();
  w.Navigate("http://dialogs.example/start");
  w.Title("Dialogs");  // the title change stores the page the dialog's record names
  w.OpenDialog();
  Session().Post(0x0491);
  Pump(300);
  ASSERT_FALSE(w.DialogExists()) << "level 4: the dialog is closed";
  ASSERT_EQ(tray.received().size(), 1u);
  EXPECT_EQ(tray.received()[0].record.kind, BlockKind::Dialog);
  EXPECT_EQ(tray.received()[0].record.reason, BlockReason::BlockAll);
  EXPECT_EQ(tray.received()[0].record.level, 4);
  EXPECT_EQ(tray.received()[0].record.pageUrl, "http://dialogs.example/start");
  // The helper keeps the thread's last dialog frame, which widens every later time window of
  // this thread; a scan with no dialog left clears it for the suites that follow.
  Session().Post(0x0491);
  Pump(100);
}

// A tray program that shows its windows but never takes a message: the record waits at most
// the fixed time-out, never for the tray.
class HungTrayProcess {
 public:
  HungTrayProcess() {
    const std::string file = HelperTest::FolderForHost() + "\\hung-button.txt";
    ::DeleteFileA(file.c_str());
    std::string cmd = std::string("\"") + VEXBANE_TRAY_STANDIN_PATH + "\" --hung-tray \"" + file + "\"";
    STARTUPINFOA si = {sizeof si};
    if (!::CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &m_process)) return;
    for (int i = 0; i < 200 && m_button.empty(); ++i) {
      ::Sleep(25);
      std::string text = HelperTest::ReadFile("hung-button.txt");
      if (text != "<missing>" && !text.empty() && text.back() == '\n') m_button = text.substr(0, text.find('\r'));
    }
  }
  ~HungTrayProcess() {
    if (!m_process.hProcess) return;
    ::TerminateProcess(m_process.hProcess, 0);
    ::WaitForSingleObject(m_process.hProcess, 5000);
    ::CloseHandle(m_process.hProcess);
    ::CloseHandle(m_process.hThread);
  }
  HungTrayProcess(const HungTrayProcess&) = delete;
  HungTrayProcess& operator=(const HungTrayProcess&) = delete;
  const std::string& buttonText() const { return m_button; }

 private:
  PROCESS_INFORMATION m_process = {};
  std::string m_button;
};

TEST_P(BlockReportTest, AHungTrayCostsTheDecisionNoMoreThanTheFixedTimeout) {
  HungTrayProcess hung;
  ASSERT_FALSE(hung.buttonText().empty()) << "the stand-in did not publish its button";
  m_key.Set("hButton", hung.buttonText());
  m_key.Set("Popup", "4");
  m_key.Set("Sound", "2");
  host::HostWindow& w = Session().Open();
  w.Navigate("http://ads.example/");
  // Wine's scheduling is coarse; five times the time-out still tells a bounded wait from an
  // unbounded one.
  for (int i = 0; i < 3; ++i) {
    const DWORD start = ::GetTickCount();
    EXPECT_TRUE(w.NewWindow());
    const DWORD elapsed = ::GetTickCount() - start;
    EXPECT_LT(elapsed, 5 * kReportTimeoutMs) << "decision " << i;
  }
}

TEST_P(BlockReportTest, NothingIsSentWithoutAFrameOrToAWindowThatIsNotTheTraysButton) {
  RecordingTray tray;
  blocks::BlockRecord record;
  record.level = 2;
  record.pageUrl = "http://x.example/";
  host::HostWindow& w = Session().Open();
  EXPECT_FALSE(SendBlockRecord(tray.button(), nullptr, record));
  EXPECT_FALSE(SendBlockRecord(nullptr, w.frame(), record));
  ButtonWindow foreign("Some Other Program", "Block");
  EXPECT_FALSE(SendBlockRecord(foreign.button(), w.frame(), record));
  EXPECT_TRUE(tray.received().empty());
  EXPECT_TRUE(SendBlockRecord(tray.button(), w.frame(), record));
  ASSERT_EQ(tray.received().size(), 1u);
  EXPECT_EQ(tray.received()[0].record, record);
}

}  // namespace
}  // namespace vexbane::ext::testing
