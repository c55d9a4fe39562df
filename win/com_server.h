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

// Creates a new object with the help of `context` and queries it for `iid`.
using CreateWithContextFn = HRESULT (*)(void* context, REFIID iid, void** out);

// A class factory of our own (counted in the module) that creates through `create`; for class
// objects a program registers itself with CoRegisterClassObject. Null when out of memory.
IClassFactory* NewClassFactory(CreateWithContextFn create, void* context) noexcept;

// The class factory for `clsid`, or CLASS_E_CLASSNOTAVAILABLE.
HRESULT GetClassObjectFromTable(const ClassEntry* table, size_t count, REFCLSID clsid, REFIID iid,
                                void** out) noexcept;

}  // namespace vexbane::win
