// The dialog scan while other dialogs open and close: a dialog of the frame that the scans have
// already seen is never taken for a new one, however the walk over the dialogs is disturbed.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>

#include "DialogScan.h"
#include "Hooks.h"
#include "ThreadState.h"
#include "hooks_fixture.h"
#include "testsupport/registry_fixture.h"

namespace vexbane::ext {
namespace {

using hooktest::PumpFor;
using hooktest::TestTrayForm;
using hooktest::TestWindow;

constexpr UINT kScan = 0x0491;
constexpr char kDialogClass[] = "Internet Explorer_TridentDlgFrame";

// Another thread that opens an unowned dialog-frame window and closes it again, over and over,
// as other browser windows' dialogs come and go.
class DialogChurn {
 public:
  DialogChurn() {
    m_thread = ::CreateThread(nullptr, 0, &Run, this, 0, nullptr);
    ::WaitForSingleObject(m_started, 10000);
  }
  ~DialogChurn() {
    ::InterlockedExchange(&m_stop, 1);
    ::WaitForSingleObject(m_thread, 30000);
    ::CloseHandle(m_thread);
    ::CloseHandle(m_started);
  }
  long cycles() const { return m_cycles; }

 private:
  static DWORD WINAPI Run(void* param) {
    auto* self = static_cast<DialogChurn*>(param);
    ::SetEvent(self->m_started);
    while (!self->m_stop) {
      HWND w = ::CreateWindowExA(0, kDialogClass, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 ::GetModuleHandleA(nullptr), nullptr);
      ::DestroyWindow(w);
      ::InterlockedIncrement(&self->m_cycles);
    }
    return 0;
  }

  HANDLE m_started = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HANDLE m_thread = nullptr;
  volatile LONG m_stop = 0;
  volatile LONG m_cycles = 0;
};

class DialogRaceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    hooktest::ResetThreadState();
    m_key.Set("hButton", HandleToText(m_tray.block()));
    m_key.Set("Sound", "2");
    m_key.Set("Popup", "0");
    ThreadState& st = *CurrentThreadState();
    st.lngFrameHwnd = m_frame.hwnd();
    st.lngButtonHwnd = m_tray.block();
    st.strAppPath = m_folder.path();
    st.strPageURL = "http://www.example.com/page";
    st.lngClickTime = TimeOfDayMs();
    InstallHooks(st);
    ASSERT_TRUE(st.lngMsgHook);
  }
  void TearDown() override { hooktest::ResetThreadState(); }

  vexbane::testing::ScopedProductKey m_key;
  vexbane::testing::ScopedFolder m_folder{"vexbane-hooks-race"};
  TestTrayForm m_tray;
  TestWindow m_frame{"IEFrame", nullptr, 600, 500, 100, 80, false};
};

// Closes the dialog the walk stands on, once: the moment another browser's dialog goes away.
class CloseWhereTheWalkStands final : public win::WalkObserver {
 public:
  explicit CloseWhereTheWalkStands(HWND target) : m_target(target) {}
  void Found(HWND window) noexcept override {
    if (window == m_target && ::IsWindow(window)) {
      ::DestroyWindow(window);
      m_closed = true;
    }
  }
  bool closed() const { return m_closed; }

 private:
  HWND m_target;
  bool m_closed = false;
};

TEST_F(DialogRaceTest, ADialogClosingUnderTheScanLeavesTheFramesOwnDialogOld) {
  auto own = std::make_unique<TestWindow>(kDialogClass, m_frame.hwnd(), 300, 300, 200, 150, false);
  ThreadState& st = *CurrentThreadState();
  ASSERT_TRUE(RunDialogScan(st));
  ASSERT_EQ(st.lngNewDialog, own->hwnd());
  // Opened later, so in front of the frame's dialog in Z order: the walk meets it first.
  auto passing = std::make_unique<TestWindow>(kDialogClass, nullptr, 0, 0, 10, 10, false);
  CloseWhereTheWalkStands closer(passing->hwnd());
  EXPECT_FALSE(RunDialogScan(st, &closer)) << "the frame's dialog was taken for a new one";
  EXPECT_TRUE(closer.closed());
  EXPECT_EQ(st.lngNewDialog, nullptr);
  EXPECT_EQ(st.strDialogList, HandleToText(own->hwnd()) + "@");
}

// The same through the real hook, with a thread opening and closing dialogs all along: at
// level 4 a dialog that one scan missed would be new to the next one and closed.
TEST_F(DialogRaceTest, ScansAmidDialogsOpeningAndClosingNeverCloseAnOldDialog) {
  auto own = std::make_unique<TestWindow>(kDialogClass, m_frame.hwnd(), 300, 300, 200, 150, false);
  ::PostMessageA(m_frame.hwnd(), kScan, 0, 0);
  PumpFor(20);
  ASSERT_EQ(CurrentThreadState()->strDialogList, HandleToText(own->hwnd()) + "@");
  m_key.Set("Popup", "4");
  {
    DialogChurn churn;
    MSG msg;
    const DWORD begin = ::GetTickCount();
    while (churn.cycles() < 300 && ::GetTickCount() - begin < 20000 && own->Alive()) {
      ::PostMessageA(m_frame.hwnd(), kScan, 0, 0);
      while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
    }
    EXPECT_TRUE(!own->Alive() || churn.cycles() >= 300) << "the other thread's dialogs hardly came and went";
  }
  PumpFor(50);
  EXPECT_TRUE(own->Alive()) << "a dialog seen by every scan was closed as new";
  EXPECT_EQ(m_tray.blockClicks(), 0);
}

}  // namespace
}  // namespace vexbane::ext
