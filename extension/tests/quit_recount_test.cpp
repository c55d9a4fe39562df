// The browser quit against real COM class objects, the registry and a stand-in tray form:
// recount through the shell's window collection, "CountIE", the last-window signal, the cleaning.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <optional>

#include "BrowserQuit.h"
#include "Hooks.h"
#include "ThreadState.h"
#include "core/product_ids.h"
#include "hooks_fixture.h"
#include "quit_fakes.h"
#include "testsupport/registry_fixture.h"
#include "win/guid.h"

namespace vexbane::ext {
namespace {

using hooktest::PumpFor;
using hooktest::TestTrayForm;
using hooktest::TestWindow;
using testfakes::CleanerLog;
using testfakes::FakeCookieCleaner;
using testfakes::FakeShellWindows;
using testfakes::HandOut;
using testfakes::ScopedClassObject;
using testfakes::ShellItem;
using Kind = ShellItem::Kind;

const wchar_t kBrowserPath[] = L"C:\\Program Files\\Internet Explorer\\IEXPLORE.EXE";
const wchar_t kExplorerPath[] = L"C:\\windows\\explorer.exe";

class BrowserQuitTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    hooktest::ResetThreadState();
    m_key.Set("hForm", HandleToText(m_tray.formClose()));
    m_key.Set("hButton", HandleToText(m_tray.block()));
    m_key.Set("CountIE", "2");
    m_key.Set("AutoClean", "1");
    ThreadState& st = *CurrentThreadState();
    st.lngFrameHwnd = m_frame.hwnd();
    st.lngFormHwnd = m_tray.block();  // stale: the quit must read "hForm" again
    m_cleaner = std::make_unique<ScopedClassObject>(win::ToGuid(ids::kClsidCookieCleaner), [this](REFIID iid, void** out) {
      return HandOut(new FakeCookieCleaner(win::ToGuid(ids::kIidCookieCleaner), m_log), iid, out);
    });
    ASSERT_TRUE(SUCCEEDED(m_cleaner->hr()));
    // The signal must not be on its way yet while the component cleans.
    m_log.onCall = [this] {
      MSG msg;
      m_clickQueuedDuringClean = ::PeekMessageA(&msg, m_tray.formClose(), BM_CLICK, BM_CLICK, PM_NOREMOVE) != FALSE;
    };
  }
  void TearDown() override {
    m_shell.reset();
    m_cleaner.reset();
    hooktest::ResetThreadState();
    ::CoUninitialize();
  }

  void ListShellWindows(std::vector<ShellItem> items, bool countFails = false) {
    m_shell = std::make_unique<ScopedClassObject>(win::ToGuid(ids::kClsidShellWindows), [items, countFails](REFIID iid, void** out) {
      return HandOut(new FakeShellWindows(items, countFails), iid, out);
    });
    ASSERT_TRUE(SUCCEEDED(m_shell->hr()));
  }

  // Runs the quit and lets the posted clicks arrive.
  void Quit(int16_t& countIE) {
    OnBrowserQuit(*CurrentThreadState(), countIE, nullptr);
    PumpFor(100);
  }

  vexbane::testing::ScopedProductKey m_key;
  TestTrayForm m_tray;
  TestWindow m_frame{"IEFrame", nullptr, 600, 500, 100, 80, false};
  CleanerLog m_log;
  bool m_clickQueuedDuringClean = true;
  std::unique_ptr<ScopedClassObject> m_cleaner;
  std::unique_ptr<ScopedClassObject> m_shell;
};

TEST_F(BrowserQuitTest, LastWindowCountsZeroCleansOnceThenSignalsTheTray) {
  ListShellWindows({{Kind::Browser, kBrowserPath}});
  int16_t countIE = 7;
  Quit(countIE);
  EXPECT_EQ(countIE, 0);
  EXPECT_EQ(m_key.Get("CountIE"), "0");
  EXPECT_EQ(m_log.calls, 1);
  EXPECT_EQ(m_log.code, L"VEXBANECLN");
  EXPECT_FALSE(m_clickQueuedDuringClean) << "the tray was told before the cleaning ended";
  EXPECT_EQ(m_tray.formCloseClicks(), 1);
  EXPECT_EQ(m_tray.blockClicks(), 0);
  EXPECT_EQ(CurrentThreadState()->lngFormHwnd, m_tray.formClose());
}

TEST_F(BrowserQuitTest, AutoCleanDecidesTheCleaningButNeverTheSignal) {
  struct Case { std::optional<const char*> autoClean; int calls; };
  const Case cases[] = {{"1", 1}, {"0", 0}, {std::nullopt, 1}, {"2", 0}, {"yes", 0}, {" 1 ", 1}};
  ListShellWindows({{Kind::Browser, kBrowserPath}});
  int expectedSignals = 0;
  int expectedCalls = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.autoClean.value_or("<missing>"));
    if (c.autoClean) {
      m_key.Set("AutoClean", *c.autoClean);
    } else {
      m_key.Remove("AutoClean");
    }
    m_key.Set("CountIE", "3");
    int16_t countIE = 3;
    Quit(countIE);
    expectedCalls += c.calls;
    ++expectedSignals;
    EXPECT_EQ(m_key.Get("CountIE"), "0");
    EXPECT_EQ(m_log.calls, expectedCalls);
    EXPECT_EQ(m_tray.formCloseClicks(), expectedSignals);
  }
}

TEST_F(BrowserQuitTest, OneOfTwoBrowserWindowsQuits) {
  ListShellWindows({{Kind::Browser, kBrowserPath}, {Kind::Browser, L"c:\\progra~1\\intern~1\\iexplore.exe"}});
  int16_t countIE = 2;
  Quit(countIE);
  EXPECT_EQ(countIE, 1);
  EXPECT_EQ(m_key.Get("CountIE"), "1");
  EXPECT_EQ(m_tray.formCloseClicks(), 0);
  EXPECT_EQ(m_log.calls, 0);
}

TEST_F(BrowserQuitTest, OnlyBrowserProgramsAreCounted) {
  ListShellWindows({{Kind::Browser, kBrowserPath},
                    {Kind::Browser, kExplorerPath},
                    {Kind::NotABrowser, L""},
                    {Kind::BrowserWithoutPath, kBrowserPath}});
  int16_t countIE = 4;
  Quit(countIE);
  EXPECT_EQ(m_key.Get("CountIE"), "0");
  EXPECT_EQ(m_tray.formCloseClicks(), 1);
  EXPECT_EQ(m_log.calls, 1);
}

// A non-frame host attached on the thread after the frame clears the thread's frame handle; the
// frame's quit still counts (the object knows it attached to a frame).
TEST_F(BrowserQuitTest, QuitCountsEvenAfterANonFrameAttachClearedTheThreadsFrame) {
  ListShellWindows({{Kind::Browser, kBrowserPath}});
  m_key.Set("CountIE", "5");
  CurrentThreadState()->lngFrameHwnd = nullptr;
  int16_t countIE = 5;
  Quit(countIE);
  EXPECT_EQ(countIE, 0);
  EXPECT_EQ(m_key.Get("CountIE"), "0");
  EXPECT_EQ(m_tray.formCloseClicks(), 1);
}

// Another window's attach is in the middle of its read-add-write of the count: the quit's fresh
// count waits for it and lands afterwards, instead of being overwritten by the attach's result.
TEST_F(BrowserQuitTest, CountWriteWaitsForAnAttachsUpdate) {
  ListShellWindows({{Kind::Browser, kBrowserPath}, {Kind::Browser, kBrowserPath}});
  struct Holder {
    HANDLE ready = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    vexbane::testing::ScopedProductKey* key = nullptr;
  } holder;
  holder.key = &m_key;
  HANDLE thread = ::CreateThread(
      nullptr, 0,
      [](void* p) __attribute__((stdcall)) -> DWORD {
        auto* h = static_cast<Holder*>(p);
        HANDLE mutex = ::CreateMutexA(nullptr, FALSE, "VexbaneCountIE");
        ::WaitForSingleObject(mutex, INFINITE);
        ::SetEvent(h->ready);
        ::Sleep(500);
        h->key->Set("CountIE", "7");  // the attach's stale count
        ::ReleaseMutex(mutex);
        ::CloseHandle(mutex);
        return 0;
      },
      &holder, 0, nullptr);
  ASSERT_NE(thread, nullptr);
  ASSERT_EQ(::WaitForSingleObject(holder.ready, 5000), WAIT_OBJECT_0);
  int16_t countIE = 2;
  Quit(countIE);
  ::WaitForSingleObject(thread, 5000);
  ::CloseHandle(thread);
  ::CloseHandle(holder.ready);
  EXPECT_EQ(countIE, 1);
  EXPECT_EQ(m_key.Get("CountIE"), "1") << "the quit's count was written before the attach finished";
}

TEST_F(BrowserQuitTest, NoCollectionLeavesCountSignalAndCleaningAlone) {
  m_shell = std::make_unique<ScopedClassObject>(win::ToGuid(ids::kClsidShellWindows),
                                                [](REFIID, void**) { return E_OUTOFMEMORY; });
  int16_t countIE = 2;
  Quit(countIE);
  EXPECT_EQ(m_key.Get("CountIE"), "2");
  EXPECT_EQ(m_tray.formCloseClicks(), 0);
  EXPECT_EQ(m_log.calls, 0);
}

TEST_F(BrowserQuitTest, CollectionThatWillNotTellItsSizeCountsAsNone) {
  ListShellWindows({{Kind::Browser, kBrowserPath}}, true);
  int16_t countIE = 2;
  Quit(countIE);
  EXPECT_EQ(m_key.Get("CountIE"), "2");
  EXPECT_EQ(m_tray.formCloseClicks(), 0);
  EXPECT_EQ(m_log.calls, 0);
}

TEST_F(BrowserQuitTest, MissingCookieComponentStillSignals) {
  m_cleaner.reset();
  ListShellWindows({{Kind::Browser, kBrowserPath}});
  int16_t countIE = 1;
  Quit(countIE);
  EXPECT_EQ(m_key.Get("CountIE"), "0");
  EXPECT_EQ(m_tray.formCloseClicks(), 1);
}

}  // namespace
}  // namespace vexbane::ext
