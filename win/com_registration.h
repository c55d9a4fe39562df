// Registry entries of an in-process COM server: class, server file, threading model, ProgID.
#pragma once
#include <windows.h>
#include <oleauto.h>

#include <string>

namespace vexbane::win {

struct InprocServerInfo {
  const char* clsid;           // "{...}"
  const char* progId;          // "Library.Class"
  const char* threadingModel;  // "Apartment", ...
  const char* typeLibId;       // "{...}" or null when the class has no type library
  const char* version;         // "5.0" or null
  const char* description = nullptr;  // the class key's default value (the name users see); null: progId
};

// The full path of the module's file; empty on failure.
std::string ModuleFilePath(HMODULE module);

// Loads the type library embedded in the module's own file. The path is read as ANSI and widened:
// the 95 family has no working GetModuleFileNameW.
HRESULT LoadModuleTypeLib(HMODULE module, REGKIND kind, ITypeLib** lib) noexcept;

// Writes CLSID\{clsid} (its default value the description, InprocServer32 = serverPath with its ThreadingModel, ProgID, TypeLib,
// VERSION) and the ProgID key under HKEY_CLASSES_ROOT. Returns S_OK or the failing write's error.
HRESULT RegisterInprocServer(const InprocServerInfo& info, const std::string& serverPath) noexcept;
// Removes both keys; missing keys are not an error.
HRESULT UnregisterInprocServer(const InprocServerInfo& info) noexcept;

// What DllRegisterServer does for a server with a type library embedded as TYPELIB 1: the class
// entries, then the type library and its interfaces (which also lets COM marshal a dual interface
// to callers in other apartments).
HRESULT RegisterServerAndTypeLib(const InprocServerInfo& info, HMODULE module) noexcept;
// What DllUnregisterServer does: the type library (of this build's word size) and the class entries.
HRESULT UnregisterServerAndTypeLib(const InprocServerInfo& info, const GUID& libid, WORD major,
                                   WORD minor) noexcept;

}  // namespace vexbane::win
