// CloseBrowsers in-process against a ShellWindows collection of our own, registered with CoRegisterClassObject.
#include <windows.h>
#include <exdisp.h>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "Uninstall.h"
#include "core/product_ids.h"
#include "core/unhitch_passes.h"
#include "test_windows.h"
#include "win/guid.h"

namespace vexbane {
namespace {

constexpr int kNeverCloses = -1;

// A browser in the collection: a real window whose title it clears once asked to quit often enough.
class FakeBrowser final : public IWebBrowser2 {
 public:
  FakeBrowser(HWND hwnd, int quitsToClose, bool answersAsBrowser)
      : m_hwnd(hwnd), m_quitsLeft(quitsToClose), m_answersAsBrowser(answersAsBrowser) {}

  int quits = 0;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    const bool browser = iid == IID_IWebBrowser2 || iid == IID_IWebBrowserApp || iid == IID_IWebBrowser;
    if (iid == IID_IUnknown || iid == IID_IDispatch || (browser && m_answersAsBrowser)) {
      *out = static_cast<IWebBrowser2*>(this);
      AddRef();
      return S_OK;
    }
    return E_NOINTERFACE;
  }
  // The test owns the object; the counts only show that every reference is given back.
  ULONG STDMETHODCALLTYPE AddRef() override { return ++m_refs; }
  ULONG STDMETHODCALLTYPE Release() override { return --m_refs; }
  long Refs() const { return m_refs; }

  HRESULT STDMETHODCALLTYPE get_HWND(SHANDLE_PTR* handle) override {
    *handle = reinterpret_cast<SHANDLE_PTR>(m_hwnd);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Quit() override {
    ++quits;
    if (m_quitsLeft > 0 && --m_quitsLeft == 0) ::SetWindowTextA(m_hwnd, "");
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GoBack() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GoForward() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GoHome() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GoSearch() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Navigate(BSTR, VARIANT *, VARIANT *, VARIANT *, VARIANT *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Refresh() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Refresh2(VARIANT *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Stop() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_Application(IDispatch **) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_Parent(IDispatch **) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_Container(IDispatch **) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_Document(IDispatch **) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_TopLevelContainer(VARIANT_BOOL *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_Type(BSTR *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_Left(LONG *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_Left(LONG) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_Top(LONG *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_Top(LONG) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_Width(LONG *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_Width(LONG) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_Height(LONG *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_Height(LONG) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_LocationName(BSTR *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_LocationURL(BSTR *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_Busy(VARIANT_BOOL *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE ClientToWindow(int *, int *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE PutProperty(BSTR, VARIANT) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetProperty(BSTR, VARIANT *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_Name(BSTR *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_FullName(BSTR *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_Path(BSTR *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_Visible(VARIANT_BOOL *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_Visible(VARIANT_BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_StatusBar(VARIANT_BOOL *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_StatusBar(VARIANT_BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_StatusText(BSTR *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_StatusText(BSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_ToolBar(int *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_ToolBar(int) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_MenuBar(VARIANT_BOOL *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_MenuBar(VARIANT_BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_FullScreen(VARIANT_BOOL *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_FullScreen(VARIANT_BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Navigate2(VARIANT *, VARIANT *, VARIANT *, VARIANT *, VARIANT *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE QueryStatusWB(OLECMDID, OLECMDF *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE ExecWB(OLECMDID, OLECMDEXECOPT, VARIANT *, VARIANT *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE ShowBrowserBar(VARIANT *, VARIANT *, VARIANT *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_ReadyState(READYSTATE *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_Offline(VARIANT_BOOL *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_Offline(VARIANT_BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_Silent(VARIANT_BOOL *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_Silent(VARIANT_BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_RegisterAsBrowser(VARIANT_BOOL *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_RegisterAsBrowser(VARIANT_BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_RegisterAsDropTarget(VARIANT_BOOL *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_RegisterAsDropTarget(VARIANT_BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_TheaterMode(VARIANT_BOOL *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_TheaterMode(VARIANT_BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_AddressBar(VARIANT_BOOL *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_AddressBar(VARIANT_BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_Resizable(VARIANT_BOOL *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_Resizable(VARIANT_BOOL) override { return E_NOTIMPL; }
 private:
  HWND m_hwnd;
  int m_quitsLeft;
  bool m_answersAsBrowser;
  long m_refs = 0;
};

struct Shell {
  std::vector<FakeBrowser*> browsers;
  int collectionsCreated = 0;
  int collectionsAlive = 0;
};

class FakeShellWindows final : public IShellWindows {
 public:
  explicit FakeShellWindows(Shell& shell) : m_shell(shell) {
    ++m_shell.collectionsCreated;
    ++m_shell.collectionsAlive;
  }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (iid != IID_IUnknown && iid != IID_IDispatch && iid != IID_IShellWindows) return E_NOINTERFACE;
    *out = static_cast<IShellWindows*>(this);
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++m_refs; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --m_refs;
    if (left == 0) {
      --m_shell.collectionsAlive;
      delete this;
    }
    return left;
  }

  HRESULT STDMETHODCALLTYPE get_Count(LONG* count) override {
    *count = static_cast<LONG>(m_shell.browsers.size());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Item(VARIANT index, IDispatch** item) override {
    *item = nullptr;
    if (V_VT(&index) != VT_I4 || V_I4(&index) < 0 || V_I4(&index) >= static_cast<LONG>(m_shell.browsers.size()))
      return E_INVALIDARG;
    *item = m_shell.browsers[V_I4(&index)];
    (*item)->AddRef();
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE _NewEnum(IUnknown **) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Register(IDispatch *, LONG, int, LONG *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE RegisterPending(LONG, VARIANT *, VARIANT *, int, LONG *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Revoke(LONG) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE OnNavigate(LONG, VARIANT *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE OnActivated(LONG, VARIANT_BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE FindWindowSW(VARIANT *, VARIANT *, int, LONG *, int, IDispatch **) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE OnCreated(LONG, IUnknown *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE ProcessAttachDetach(VARIANT_BOOL) override { return E_NOTIMPL; }
 private:
  Shell& m_shell;
  ULONG m_refs = 1;
};

class FakeShellFactory final : public IClassFactory {
 public:
  explicit FakeShellFactory(Shell& shell) : m_shell(shell) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (iid != IID_IUnknown && iid != IID_IClassFactory) return E_NOINTERFACE;
    *out = static_cast<IClassFactory*>(this);
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
    if (outer) return CLASS_E_NOAGGREGATION;
    auto* windows = new FakeShellWindows(m_shell);
    HRESULT hr = windows->QueryInterface(iid, out);
    windows->Release();
    return hr;
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

 private:
  Shell& m_shell;
};

// Presses OK on every Unhitch box that appears, counting them and keeping the first one's text.
class BoxPresser {
 public:
  BoxPresser() : m_thread([this] { Run(); }) {}
  ~BoxPresser() {
    m_stop = true;
    m_thread.join();
  }
  int Boxes() const { return m_boxes; }
  std::string FirstText() const { return m_firstText; }

 private:
  void Run() {
    HWND last = nullptr;
    while (!m_stop) {
      HWND box = testing::FindUnhitchBox();
      if (box && box != last) {
        last = box;
        ::Sleep(100);
        if (m_boxes++ == 0) m_firstText = testing::ReadBox(box).text;
        testing::PressOk(box);
      }
      ::Sleep(20);
    }
  }
  std::atomic<bool> m_stop{false};
  std::atomic<int> m_boxes{0};
  std::string m_firstText;
  std::thread m_thread;
};

class CloseBrowsersInProcess : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(::CoInitialize(nullptr)));
    ASSERT_EQ(::CoRegisterClassObject(win::ToGuid(ids::kClsidShellWindows), &m_factory, CLSCTX_INPROC_SERVER,
                                      REGCLS_MULTIPLEUSE, &m_cookie),
              S_OK);
  }
  void TearDown() override {
    ::CoRevokeClassObject(m_cookie);
    ::CoUninitialize();
  }
  FakeBrowser& Add(const testing::StandInFrame& frame, int quitsToClose, bool answersAsBrowser = true) {
    m_browsers.push_back(std::make_unique<FakeBrowser>(frame.hwnd(), quitsToClose, answersAsBrowser));
    m_shell.browsers.push_back(m_browsers.back().get());
    return *m_browsers.back();
  }

  Shell m_shell;
  FakeShellFactory m_factory{m_shell};
  DWORD m_cookie = 0;
  std::vector<std::unique_ptr<FakeBrowser>> m_browsers;
};

TEST_F(CloseBrowsersInProcess, TitledWindowsAreAskedToQuitUntitledAndNonBrowsersAreLeft) {
  testing::StandInFrame quick("UnhitchTestQuick", "Quick page");
  testing::StandInFrame slow("UnhitchTestSlow", "Slow page");
  testing::StandInFrame untitled("UnhitchTestUntitled", "");
  testing::StandInFrame other("UnhitchTestOther", "Not a browser");
  auto& quickBrowser = Add(quick, 1);
  auto& slowBrowser = Add(slow, 3);
  auto& untitledBrowser = Add(untitled, kNeverCloses);
  auto& otherItem = Add(other, kNeverCloses, false);
  BoxPresser presser;

  Uninstall::CloseBrowsers();

  EXPECT_EQ(quickBrowser.quits, 1);
  EXPECT_EQ(slowBrowser.quits, 3);
  EXPECT_EQ(untitledBrowser.quits, 0);
  EXPECT_EQ(otherItem.quits, 0);
  // Three passes: each a quit walk and a check walk over a fresh collection.
  EXPECT_EQ(m_shell.collectionsCreated, 6);
  EXPECT_EQ(m_shell.collectionsAlive, 0);
  for (auto* browser : m_shell.browsers) EXPECT_EQ(browser->Refs(), 0);
  EXPECT_EQ(presser.Boxes(), 0);
}

TEST_F(CloseBrowsersInProcess, FrameThatKeepsItsTitleGetsTwentyPassesThenOneWarning) {
  testing::StandInFrame stubborn(unhitch::kFrameClass, "Stubborn page");
  auto& browser = Add(stubborn, kNeverCloses);
  BoxPresser presser;

  Uninstall::CloseBrowsers();

  EXPECT_EQ(browser.quits, unhitch::kMaxPasses);
  EXPECT_EQ(m_shell.collectionsCreated, 2 * unhitch::kMaxPasses - 1);
  EXPECT_EQ(m_shell.collectionsAlive, 0);
  EXPECT_EQ(presser.Boxes(), 1);
  EXPECT_EQ(presser.FirstText(), "Please close all opened IE browsers first, then click the OK button!");
}

TEST_F(CloseBrowsersInProcess, FrameLeftOpenWithAnEmptyTitleBringsTheWarningOnce) {
  // The browser drops its title when asked the second time but keeps its frame window open.
  testing::StandInFrame frame(unhitch::kFrameClass, "Closing page");
  auto& browser = Add(frame, 2);
  BoxPresser presser;

  Uninstall::CloseBrowsers();

  EXPECT_EQ(browser.quits, 2);
  EXPECT_EQ(m_shell.collectionsCreated, 4);
  EXPECT_EQ(presser.Boxes(), 1);
}

}  // namespace
}  // namespace vexbane
