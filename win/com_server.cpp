// The server's module count and its table-driven class factory.
#include "win/com_server.h"

#include <new>

namespace vexbane::win {
namespace {

volatile LONG g_moduleCount = 0;

class ClassFactory final : public IClassFactory {
 public:
  ClassFactory(CreateWithContextFn create, void* context) : m_create(create), m_context(context) {
    ModuleAddRef();
  }

  STDMETHODIMP QueryInterface(REFIID iid, void** out) noexcept override {
    if (!out) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
      *out = static_cast<IClassFactory*>(this);
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
  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** out) noexcept override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    return m_create(m_context, iid, out);
  }
  STDMETHODIMP LockServer(BOOL lock) noexcept override {
    if (lock) ModuleAddRef();
    else ModuleRelease();
    return S_OK;
  }

 private:
  ~ClassFactory() { ModuleRelease(); }
  volatile LONG m_refs = 1;
  CreateWithContextFn m_create;
  void* m_context;
};

// Table entries create without a context.
HRESULT CreateFromEntry(void* entry, REFIID iid, void** out) {
  return static_cast<const ClassEntry*>(entry)->create(iid, out);
}

}  // namespace

void ModuleAddRef() noexcept { ::InterlockedIncrement(&g_moduleCount); }
void ModuleRelease() noexcept { ::InterlockedDecrement(&g_moduleCount); }
long ModuleCount() noexcept { return g_moduleCount; }

IClassFactory* NewClassFactory(CreateWithContextFn create, void* context) noexcept {
  return new (std::nothrow) ClassFactory(create, context);
}

HRESULT GetClassObjectFromTable(const ClassEntry* table, size_t count, REFCLSID clsid, REFIID iid,
                                void** out) noexcept {
  if (!out) return E_POINTER;
  *out = nullptr;
  for (size_t i = 0; i < count; ++i) {
    if (!IsEqualCLSID(*table[i].clsid, clsid)) continue;
    auto* factory = new (std::nothrow) ClassFactory(&CreateFromEntry, const_cast<ClassEntry*>(&table[i]));
    if (!factory) return E_OUTOFMEMORY;
    HRESULT hr = factory->QueryInterface(iid, out);
    factory->Release();
    return hr;
  }
  return CLASS_E_CLASSNOTAVAILABLE;
}

}  // namespace vexbane::win
