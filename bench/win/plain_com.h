// Reference counting and QueryInterface for the benchmark's plain COM objects: the floors are
// written with no product code, so they carry their own few lines of COM instead of win/'s.
#pragma once
#include <windows.h>
#include <unknwn.h>

#include <type_traits>

namespace vexbane::bench {

// `Self` derives from this and answers for `I`, its own interface id (given at construction),
// IUnknown, and IDispatch when `I` is a dispatch interface. The last Release deletes `Self`;
// what must happen then goes in its destructor (which may be private: the base is a friend).
template <class Self, class I>
class PlainObject : public I {
 public:
  explicit PlainObject(const IID& own) : m_own(own) {}

  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, m_own) ||
        (std::is_base_of<IDispatch, I>::value && IsEqualIID(iid, IID_IDispatch))) {
      *out = static_cast<I*>(this);
      this->AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ::InterlockedIncrement(&m_refs); }
  STDMETHODIMP_(ULONG) Release() override {
    LONG n = ::InterlockedDecrement(&m_refs);
    if (n == 0) delete static_cast<Self*>(this);
    return n;
  }

 private:
  const IID m_own;
  volatile LONG m_refs = 1;
};

// A plain DWebBrowserEvents2 sink's IDispatch: the browser asks for no type information, and
// `Self` writes Invoke.
template <class Self>
class PlainDispatch : public PlainObject<Self, IDispatch> {
 public:
  explicit PlainDispatch(const IID& events) : PlainObject<Self, IDispatch>(events) {}
  STDMETHODIMP GetTypeInfoCount(UINT* n) override {
    *n = 0;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
};

}  // namespace vexbane::bench
