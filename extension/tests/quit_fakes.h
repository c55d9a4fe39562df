// Test doubles for the quit: an in-process shell window collection, browser objects and a
// cookie-cleaning component, registered as class objects of the test process.
#pragma once
#include <windows.h>
#include <exdisp.h>
#include <oaidl.h>

#include <functional>
#include <string>
#include <type_traits>
#include <vector>

#include "win/com_ptr.h"

namespace vexbane::ext::testfakes {

// Reference counting and QueryInterface for one interface (and IUnknown, IDispatch).
template <typename I>
class FakeObject : public I {
 public:
  explicit FakeObject(const IID& iid) : m_iid(iid) {}
  virtual ~FakeObject() = default;
  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, m_iid) ||
        (std::is_base_of<IDispatch, I>::value && IsEqualIID(iid, IID_IDispatch))) {
      *out = static_cast<I*>(this);
      this->AddRef();
      return S_OK;
    }
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ::InterlockedIncrement(&m_refs); }
  STDMETHODIMP_(ULONG) Release() override {
    LONG n = ::InterlockedDecrement(&m_refs);
    if (n == 0) delete this;
    return n;
  }

 private:
  const IID m_iid;
  volatile LONG m_refs = 1;
};

// IDispatch methods that no caller of these doubles uses.
#define VEXBANE_FAKE_IDISPATCH                                                                   \
  STDMETHODIMP GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }                            \
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }               \
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; } \
  STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override { return E_NOTIMPL; }

// A browser object: only FullName answers (or fails, for an unreadable path).
class FakeBrowser final : public FakeObject<IWebBrowser2> {
 public:
  FakeBrowser(std::wstring fullName, bool readable)
      : FakeObject(IID_IWebBrowser2), m_fullName(std::move(fullName)), m_readable(readable) {}
  STDMETHODIMP get_FullName(BSTR* out) override {
    if (!m_readable) return E_FAIL;
    *out = ::SysAllocString(m_fullName.c_str());
    return S_OK;
  }
  VEXBANE_FAKE_IDISPATCH
  STDMETHODIMP GoBack() override { return E_NOTIMPL; }
  STDMETHODIMP GoForward() override { return E_NOTIMPL; }
  STDMETHODIMP GoHome() override { return E_NOTIMPL; }
  STDMETHODIMP GoSearch() override { return E_NOTIMPL; }
  STDMETHODIMP Navigate(BSTR, VARIANT *, VARIANT *, VARIANT *, VARIANT *) override { return E_NOTIMPL; }
  STDMETHODIMP Refresh() override { return E_NOTIMPL; }
  STDMETHODIMP Refresh2(VARIANT *) override { return E_NOTIMPL; }
  STDMETHODIMP Stop() override { return E_NOTIMPL; }
  STDMETHODIMP get_Application(IDispatch **) override { return E_NOTIMPL; }
  STDMETHODIMP get_Parent(IDispatch **) override { return E_NOTIMPL; }
  STDMETHODIMP get_Container(IDispatch **) override { return E_NOTIMPL; }
  STDMETHODIMP get_Document(IDispatch **) override { return E_NOTIMPL; }
  STDMETHODIMP get_TopLevelContainer(VARIANT_BOOL *) override { return E_NOTIMPL; }
  STDMETHODIMP get_Type(BSTR *) override { return E_NOTIMPL; }
  STDMETHODIMP get_Left(LONG *) override { return E_NOTIMPL; }
  STDMETHODIMP put_Left(LONG) override { return E_NOTIMPL; }
  STDMETHODIMP get_Top(LONG *) override { return E_NOTIMPL; }
  STDMETHODIMP put_Top(LONG) override { return E_NOTIMPL; }
  STDMETHODIMP get_Width(LONG *) override { return E_NOTIMPL; }
  STDMETHODIMP put_Width(LONG) override { return E_NOTIMPL; }
  STDMETHODIMP get_Height(LONG *) override { return E_NOTIMPL; }
  STDMETHODIMP put_Height(LONG) override { return E_NOTIMPL; }
  STDMETHODIMP get_LocationName(BSTR *) override { return E_NOTIMPL; }
  STDMETHODIMP get_LocationURL(BSTR *) override { return E_NOTIMPL; }
  STDMETHODIMP get_Busy(VARIANT_BOOL *) override { return E_NOTIMPL; }
  STDMETHODIMP Quit() override { return E_NOTIMPL; }
  STDMETHODIMP ClientToWindow(int *, int *) override { return E_NOTIMPL; }
  STDMETHODIMP PutProperty(BSTR, VARIANT) override { return E_NOTIMPL; }
  STDMETHODIMP GetProperty(BSTR, VARIANT *) override { return E_NOTIMPL; }
  STDMETHODIMP get_Name(BSTR *) override { return E_NOTIMPL; }
  STDMETHODIMP get_HWND(SHANDLE_PTR *) override { return E_NOTIMPL; }
  STDMETHODIMP get_Path(BSTR *) override { return E_NOTIMPL; }
  STDMETHODIMP get_Visible(VARIANT_BOOL *) override { return E_NOTIMPL; }
  STDMETHODIMP put_Visible(VARIANT_BOOL) override { return E_NOTIMPL; }
  STDMETHODIMP get_StatusBar(VARIANT_BOOL *) override { return E_NOTIMPL; }
  STDMETHODIMP put_StatusBar(VARIANT_BOOL) override { return E_NOTIMPL; }
  STDMETHODIMP get_StatusText(BSTR *) override { return E_NOTIMPL; }
  STDMETHODIMP put_StatusText(BSTR) override { return E_NOTIMPL; }
  STDMETHODIMP get_ToolBar(int *) override { return E_NOTIMPL; }
  STDMETHODIMP put_ToolBar(int) override { return E_NOTIMPL; }
  STDMETHODIMP get_MenuBar(VARIANT_BOOL *) override { return E_NOTIMPL; }
  STDMETHODIMP put_MenuBar(VARIANT_BOOL) override { return E_NOTIMPL; }
  STDMETHODIMP get_FullScreen(VARIANT_BOOL *) override { return E_NOTIMPL; }
  STDMETHODIMP put_FullScreen(VARIANT_BOOL) override { return E_NOTIMPL; }
  STDMETHODIMP Navigate2(VARIANT *, VARIANT *, VARIANT *, VARIANT *, VARIANT *) override { return E_NOTIMPL; }
  STDMETHODIMP QueryStatusWB(OLECMDID, OLECMDF *) override { return E_NOTIMPL; }
  STDMETHODIMP ExecWB(OLECMDID, OLECMDEXECOPT, VARIANT *, VARIANT *) override { return E_NOTIMPL; }
  STDMETHODIMP ShowBrowserBar(VARIANT *, VARIANT *, VARIANT *) override { return E_NOTIMPL; }
  STDMETHODIMP get_ReadyState(READYSTATE *) override { return E_NOTIMPL; }
  STDMETHODIMP get_Offline(VARIANT_BOOL *) override { return E_NOTIMPL; }
  STDMETHODIMP put_Offline(VARIANT_BOOL) override { return E_NOTIMPL; }
  STDMETHODIMP get_Silent(VARIANT_BOOL *) override { return E_NOTIMPL; }
  STDMETHODIMP put_Silent(VARIANT_BOOL) override { return E_NOTIMPL; }
  STDMETHODIMP get_RegisterAsBrowser(VARIANT_BOOL *) override { return E_NOTIMPL; }
  STDMETHODIMP put_RegisterAsBrowser(VARIANT_BOOL) override { return E_NOTIMPL; }
  STDMETHODIMP get_RegisterAsDropTarget(VARIANT_BOOL *) override { return E_NOTIMPL; }
  STDMETHODIMP put_RegisterAsDropTarget(VARIANT_BOOL) override { return E_NOTIMPL; }
  STDMETHODIMP get_TheaterMode(VARIANT_BOOL *) override { return E_NOTIMPL; }
  STDMETHODIMP put_TheaterMode(VARIANT_BOOL) override { return E_NOTIMPL; }
  STDMETHODIMP get_AddressBar(VARIANT_BOOL *) override { return E_NOTIMPL; }
  STDMETHODIMP put_AddressBar(VARIANT_BOOL) override { return E_NOTIMPL; }
  STDMETHODIMP get_Resizable(VARIANT_BOOL *) override { return E_NOTIMPL; }
  STDMETHODIMP put_Resizable(VARIANT_BOOL) override { return E_NOTIMPL; }

 private:
  std::wstring m_fullName;
  bool m_readable;
};

// A shell window that is no browser object at all (IDispatch only).
class FakeOtherWindow final : public FakeObject<IDispatch> {
 public:
  FakeOtherWindow() : FakeObject(IID_IDispatch) {}
  VEXBANE_FAKE_IDISPATCH
};

struct ShellItem {
  enum class Kind { Browser, BrowserWithoutPath, NotABrowser } kind;
  std::wstring fullName;
};

// The collection: lists the items it was given; Count can be made to fail.
class FakeShellWindows final : public FakeObject<IShellWindows> {
 public:
  FakeShellWindows(std::vector<ShellItem> items, bool countFails)
      : FakeObject(IID_IShellWindows), m_items(std::move(items)), m_countFails(countFails) {}
  STDMETHODIMP get_Count(LONG* count) override {
    if (m_countFails) return E_FAIL;
    *count = static_cast<LONG>(m_items.size());
    return S_OK;
  }
  STDMETHODIMP Item(VARIANT index, IDispatch** folder) override {
    *folder = nullptr;
    if (index.vt != VT_I4 || index.lVal < 0 || index.lVal >= static_cast<LONG>(m_items.size())) return S_FALSE;
    const ShellItem& item = m_items[static_cast<size_t>(index.lVal)];
    if (item.kind == ShellItem::Kind::NotABrowser) {
      *folder = new FakeOtherWindow();
    } else {
      *folder = new FakeBrowser(item.fullName, item.kind == ShellItem::Kind::Browser);
    }
    return S_OK;
  }
  STDMETHODIMP _NewEnum(IUnknown**) override { return E_NOTIMPL; }
  STDMETHODIMP Register(IDispatch*, LONG, int, LONG*) override { return E_NOTIMPL; }
  STDMETHODIMP RegisterPending(LONG, VARIANT*, VARIANT*, int, LONG*) override { return E_NOTIMPL; }
  STDMETHODIMP Revoke(LONG) override { return E_NOTIMPL; }
  STDMETHODIMP OnNavigate(LONG, VARIANT*) override { return E_NOTIMPL; }
  STDMETHODIMP OnActivated(LONG, VARIANT_BOOL) override { return E_NOTIMPL; }
  STDMETHODIMP FindWindowSW(VARIANT*, VARIANT*, int, LONG*, int, IDispatch**) override { return E_NOTIMPL; }
  STDMETHODIMP OnCreated(LONG, IUnknown*) override { return E_NOTIMPL; }
  STDMETHODIMP ProcessAttachDetach(VARIANT_BOOL) override { return E_NOTIMPL; }
  VEXBANE_FAKE_IDISPATCH

 private:
  std::vector<ShellItem> m_items;
  bool m_countFails;
};

// The cookie component's layout as its callers expect it: IDispatch, then one method with a BSTR.
struct ICookieCleanerLayout : public IDispatch {
  virtual HRESULT STDMETHODCALLTYPE FirstOwnMethod(BSTR code) = 0;
};

// What the fake component saw.
struct CleanerLog {
  int calls = 0;
  std::wstring code;
  std::function<void()> onCall;  // runs inside the call, to look at the world at that moment
};

class FakeCookieCleaner final : public FakeObject<ICookieCleanerLayout> {
 public:
  FakeCookieCleaner(const IID& iid, CleanerLog& log) : FakeObject(iid), m_log(log) {}
  STDMETHODIMP FirstOwnMethod(BSTR code) override {
    ++m_log.calls;
    m_log.code.assign(code ? code : L"", ::SysStringLen(code));
    if (m_log.onCall) m_log.onCall();
    return S_OK;
  }
  VEXBANE_FAKE_IDISPATCH

 private:
  CleanerLog& m_log;
};

#undef VEXBANE_FAKE_IDISPATCH

// A class object that makes its objects with `create` (which may fail).
class FakeClassFactory final : public FakeObject<IClassFactory> {
 public:
  using Create = std::function<HRESULT(REFIID, void**)>;
  explicit FakeClassFactory(Create create) : FakeObject(IID_IClassFactory), m_create(std::move(create)) {}
  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
    *out = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    return m_create(iid, out);
  }
  STDMETHODIMP LockServer(BOOL) override { return S_OK; }

 private:
  Create m_create;
};

// Registers a class object in this process for the life of the owner.
class ScopedClassObject {
 public:
  ScopedClassObject(const GUID& clsid, FakeClassFactory::Create create) {
    win::ComPtr<IClassFactory> factory;
    factory.attach(new FakeClassFactory(std::move(create)));
    m_hr = ::CoRegisterClassObject(clsid, factory.get(), CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &m_cookie);
  }
  ~ScopedClassObject() {
    if (SUCCEEDED(m_hr)) ::CoRevokeClassObject(m_cookie);
  }
  ScopedClassObject(const ScopedClassObject&) = delete;
  ScopedClassObject& operator=(const ScopedClassObject&) = delete;
  HRESULT hr() const { return m_hr; }

 private:
  HRESULT m_hr = E_FAIL;
  DWORD m_cookie = 0;
};

// Creates `object` (which holds one reference) and hands it out as `iid`.
inline HRESULT HandOut(IUnknown* object, REFIID iid, void** out) {
  HRESULT hr = object->QueryInterface(iid, out);
  object->Release();
  return hr;
}

}  // namespace vexbane::ext::testfakes
