// The component's one interface as callers see it through the vtable: IDispatch, then Clean.
#pragma once
#include <oaidl.h>

namespace vexbane::cookiecleaner {

// Declared by hand to match the type library: Clean is the first own method (slot 7).
struct ICookieCleaner : public IDispatch {
  // Cleans the cookie folder when `code` is the component's code string; any other text does
  // nothing. Always S_OK; the cleaning is finished when the call returns.
  virtual HRESULT STDMETHODCALLTYPE Clean(BSTR code) = 0;
};

}  // namespace vexbane::cookiecleaner
