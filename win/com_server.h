// In-process COM server plumbing: the module count, a class table and a table-driven class factory.
#pragma once
#include <windows.h>
#include <unknwn.h>

namespace vexbane::win {

// Objects and server locks alive in this module; DllCanUnloadNow answers from it.
void ModuleAddRef() noexcept;
void ModuleRelease() noexcept;
long ModuleCount() noexcept;

// Creates a new object of one class and queries it for `iid`.
using CreateInstanceFn = HRESULT (*)(REFIID iid, void** out);

struct ClassEntry {
  const CLSID* clsid;
  CreateInstanceFn create;
};

// The class factory for `clsid`, or CLASS_E_CLASSNOTAVAILABLE.
HRESULT GetClassObjectFromTable(const ClassEntry* table, size_t count, REFCLSID clsid, REFIID iid,
                                void** out) noexcept;

}  // namespace vexbane::win
