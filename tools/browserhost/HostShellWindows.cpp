// The stand-in shell window list.
#include "HostShellWindows.h"

#include <new>

#include "core/product_ids.h"
#include "win/com_server.h"
#include "win/guid.h"

namespace vexbane::host {
namespace {

// {85CB6900-4D95-11CF-960C-0080C7F4EE85}
constexpr GUID kIidIShellWindows = {0x85cb6900, 0x4d95, 0x11cf, {0x96, 0x0c, 0x00, 0x80, 0xc7, 0xf4, 0xee, 0x85}};

class ShellWindows final : public IShellWindows {
 public:
  explicit ShellWindows(const BrowserList* list) noexcept : m_list(list) {}

  STDMETHODIMP QueryInterface(REFIID iid, void** out) noexcept override {
    if (!out) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, kIidIShellWindows)) {
      *out = static_cast<IShellWindows*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() noexcept override { return ::InterlockedIncrement(&m_refs); }
  STDMETHODIMP_(ULONG) Release() noexcept override {
    LONG n = ::InterlockedDecrement(&m_refs);
    if (n == 0) delete this;
    return n;
  }

  STDMETHODIMP GetTypeInfoCount(UINT* count) noexcept override {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) noexcept override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) noexcept override { return E_NOTIMPL; }
  STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) noexcept override {
    return E_NOTIMPL;
  }

  STDMETHODIMP get_Count(LONG* count) noexcept override {
    if (!count) return E_POINTER;
    *count = static_cast<LONG>(m_list->size());
    return S_OK;
  }

  // Items by zero-based number, as the shell's own list takes them.
  STDMETHODIMP Item(VARIANT index, IDispatch** out) noexcept override {
    if (!out) return E_POINTER;
    *out = nullptr;
    VARIANT v;
    ::VariantInit(&v);
    if (FAILED(::VariantChangeType(&v, &index, 0, VT_I4))) return E_INVALIDARG;
    LONG i = V_I4(&v);
    if (i < 0 || static_cast<size_t>(i) >= m_list->size()) return S_FALSE;
    *out = (*m_list)[static_cast<size_t>(i)].get();
    (*out)->AddRef();
    return S_OK;
  }

  STDMETHODIMP _NewEnum(IUnknown** out) noexcept override {
    if (out) *out = nullptr;
    return E_NOTIMPL;
  }
  STDMETHODIMP Register(IDispatch*, LONG, int, LONG*) noexcept override { return E_NOTIMPL; }
  STDMETHODIMP RegisterPending(LONG, VARIANT*, VARIANT*, int, LONG*) noexcept override { return E_NOTIMPL; }
  STDMETHODIMP Revoke(LONG) noexcept override { return E_NOTIMPL; }
  STDMETHODIMP OnNavigate(LONG, VARIANT*) noexcept override { return E_NOTIMPL; }
  STDMETHODIMP OnActivated(LONG, VARIANT_BOOL) noexcept override { return E_NOTIMPL; }
  STDMETHODIMP FindWindowSW(VARIANT*, VARIANT*, int, LONG*, int, IDispatch**) noexcept override { return E_NOTIMPL; }
  STDMETHODIMP OnCreated(LONG, IUnknown*) noexcept override { return E_NOTIMPL; }
  STDMETHODIMP ProcessAttachDetach(VARIANT_BOOL) noexcept override { return E_NOTIMPL; }

 private:
  ~ShellWindows() = default;
  volatile LONG m_refs = 1;
  const BrowserList* m_list;
};

// The registered class object creates a collection over the host's browser list.
HRESULT CreateForList(void* list, REFIID iid, void** out) {
  IShellWindows* windows = CreateShellWindows(static_cast<const BrowserList*>(list));
  if (!windows) return E_OUTOFMEMORY;
  HRESULT hr = windows->QueryInterface(iid, out);
  windows->Release();
  return hr;
}

}  // namespace

IShellWindows* CreateShellWindows(const BrowserList* list) noexcept { return new (std::nothrow) ShellWindows(list); }

ShellWindowsRegistration::ShellWindowsRegistration(const BrowserList* list, DWORD context) noexcept {
  IClassFactory* factory = win::NewClassFactory(&CreateForList, const_cast<BrowserList*>(list));
  if (!factory) return;
  const GUID clsid = win::ToGuid(ids::kClsidShellWindows);
  m_hr = ::CoRegisterClassObject(clsid, factory, context, REGCLS_MULTIPLEUSE, &m_cookie);
  factory->Release();
}

ShellWindowsRegistration::~ShellWindowsRegistration() {
  if (SUCCEEDED(m_hr)) ::CoRevokeClassObject(m_cookie);
}

}  // namespace vexbane::host
