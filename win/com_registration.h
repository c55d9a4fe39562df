// Registry entries of an in-process COM server: class, server file, threading model, ProgID.
#pragma once
#include <windows.h>

#include <string>

namespace vexbane::win {

struct InprocServerInfo {
  const char* clsid;           // "{...}"
  const char* progId;          // "Library.Class"
  const char* threadingModel;  // "Apartment", ...
  const char* typeLibId;       // "{...}" or null when the class has no type library
  const char* version;         // "5.0" or null
};

// The full path of the module's file; empty on failure.
std::string ModuleFilePath(HMODULE module);

// Writes CLSID\{clsid} (InprocServer32 = serverPath with its ThreadingModel, ProgID, TypeLib,
// VERSION) and the ProgID key under HKEY_CLASSES_ROOT. Returns S_OK or the failing write's error.
HRESULT RegisterInprocServer(const InprocServerInfo& info, const std::string& serverPath) noexcept;
// Removes both keys; missing keys are not an error.
HRESULT UnregisterInprocServer(const InprocServerInfo& info) noexcept;

}  // namespace vexbane::win
