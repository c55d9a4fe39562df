// Attaching to a browser window: frame check, tray start, browser count, click time, site and events.
#include <gtest/gtest.h>

#include "HelperFixture.h"

namespace vexbane::ext::testing {
namespace {

using AttachTest = HelperTest;

// Waits until the stand-in tray program has noted `starts` starts (or the time is up).
std::string WaitForStarts(size_t starts, DWORD ms) {
  const DWORD begin = ::GetTickCount();
  std::string text;
  do {
    text = HelperTest::ReadFile("started.txt");
    size_t lines = 0;
    for (char c : text) lines += c == '\n';
    if (text != "<missing>" && lines >= starts) return text;
    host::HostSession::Pump(50);
  } while (::GetTickCount() - begin < ms);
  return text;
}

TEST_F(AttachTest, FrameWindowStartsTheTrayMinimizedFromAFolderWithSpacesEveryTime) {
  Session().Open();
  EXPECT_EQ(WaitForStarts(1, 5000), "2\r\n");
  Session().Open();
  EXPECT_EQ(WaitForStarts(2, 5000), "2\r\n2\r\n");
}

TEST_F(AttachTest, MissingCountReadsOneSoTwoIsWrittenAndEachFrameAddsOne) {
  Session().Open();
  EXPECT_EQ(m_key.Get("CountIE"), "2");
  Session().Open();
  EXPECT_EQ(m_key.Get("CountIE"), "3");
}

TEST_F(AttachTest, CountThatIsNoNumberStartsFromTheObjectsOwnZero) {
  m_key.Set("CountIE", "many");
  Session().Open();
  EXPECT_EQ(m_key.Get("CountIE"), "1");
  m_key.Set("CountIE", " 4 ");
  Session().Open();
  EXPECT_EQ(m_key.Get("CountIE"), "5");
}

TEST_F(AttachTest, HostThatIsNoBrowserFrameGetsEventsOnly) {
  m_key.Set("Popup", "2");
  m_key.Set("CountIE", "3");
  // Use up the click time an earlier frame attach of this thread left behind.
  Session().Open().NewWindow();
  WaitForStarts(1, 5000);
  Session().Quit();
  RemoveFile("started.txt");
  m_key.Set("CountIE", "3");

  host::HostWindow& other = Session().Open("CabinetWClass");
  ASSERT_TRUE(SUCCEEDED(other.helperResult()));
  EXPECT_EQ(other.browser()->SinkCount(), 1u) << "connected to the events all the same";
  EXPECT_TRUE(other.NewWindow()) << "no click time was set, so the window is blocked";
  Pump(1500);
  EXPECT_EQ(ReadFile("started.txt"), "<missing>") << "no tray start";
  EXPECT_EQ(m_key.Get("CountIE"), "3") << "no count change";
}

TEST_F(AttachTest, DetachUnadvisesAndReleasesTheBrowser) {
  host::HostWindow& w = Session().Open();
  host::HostBrowser* browser = w.browser();
  ASSERT_EQ(browser->SinkCount(), 1u);
  const ULONG attached = browser->RefCount();
  w.helper()->SetSite(nullptr);
  EXPECT_EQ(browser->SinkCount(), 0u);
  EXPECT_LT(browser->RefCount(), attached) << "the helper let go of its site and browser references";
  // Events after the detach reach nobody, and a new attach connects again.
  EXPECT_FALSE(w.NewWindow());
  w.helper()->SetSite(static_cast<IWebBrowser2*>(browser));
  EXPECT_EQ(browser->SinkCount(), 1u);
  EXPECT_EQ(browser->RefCount(), attached);
}

TEST_F(AttachTest, GetSiteAnswersForTheStoredSite) {
  host::HostWindow& w = Session().Open();
  IWebBrowser2* got = nullptr;
  ASSERT_EQ(w.helper()->GetSite(IID_IWebBrowser2, reinterpret_cast<void**>(&got)), S_OK);
  EXPECT_EQ(got, static_cast<IWebBrowser2*>(w.browser()));
  got->Release();
  IUnknown* none = reinterpret_cast<IUnknown*>(1);
  EXPECT_EQ(w.helper()->GetSite(IID_IClassFactory, reinterpret_cast<void**>(&none)), E_NOINTERFACE);
  w.helper()->SetSite(nullptr);
  EXPECT_EQ(w.helper()->GetSite(IID_IUnknown, reinterpret_cast<void**>(&none)), E_FAIL);
  EXPECT_EQ(none, nullptr);
}

TEST_F(AttachTest, ServerCanUnloadOnceEveryWindowHasGone) {
  Session().Open();
  Session().Open();
  EXPECT_EQ(CallExport("DllCanUnloadNow"), S_FALSE);
  Session().QuitAll();
  Pump(50);
  EXPECT_EQ(CallExport("DllCanUnloadNow"), S_OK) << "objects released and the thread's hooks removed";
}

}  // namespace
}  // namespace vexbane::ext::testing

namespace vexbane::ext::testing {
namespace {

// Another browser thread is in the middle of its own read-add-write of the count: the attach
// waits for it and counts on top of its result instead of overwriting it.
TEST_F(AttachTest, CountUpdateWaitsForAnotherWindowsUpdate) {
  struct Holder {
    HANDLE ready = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    vexbane::testing::ScopedProductKey* key = nullptr;
  } holder;
  holder.key = &m_key;
  m_key.Set("CountIE", "3");
  HANDLE thread = ::CreateThread(
      nullptr, 0,
      [](void* p) __attribute__((stdcall)) -> DWORD {
        auto* h = static_cast<Holder*>(p);
        HANDLE mutex = ::CreateMutexA(nullptr, FALSE, "VexbaneCountIE");
        ::WaitForSingleObject(mutex, INFINITE);
        ::SetEvent(h->ready);
        ::Sleep(500);
        h->key->Set("CountIE", "7");
        ::ReleaseMutex(mutex);
        ::CloseHandle(mutex);
        return 0;
      },
      &holder, 0, nullptr);
  ASSERT_NE(thread, nullptr);
  ASSERT_EQ(::WaitForSingleObject(holder.ready, 5000), WAIT_OBJECT_0);
  Session().Open();
  EXPECT_EQ(m_key.Get("CountIE"), "8");
  ::WaitForSingleObject(thread, 5000);
  ::CloseHandle(thread);
  ::CloseHandle(holder.ready);
}

}  // namespace
}  // namespace vexbane::ext::testing
