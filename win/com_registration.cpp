// Registry entries of an in-process COM server.
#include "win/com_registration.h"

#include <vector>

#include <oleauto.h>

#include "win/com_ptr.h"
#include "win/occasional_calls.h"
#include "win/unique.h"

namespace vexbane::win {
namespace {

LONG SetKeyValue(const std::string& path, const char* name, const std::string& text) {
  UniqueKey key;
  LONG rc = ::RegCreateKeyExA(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                              key.put(), nullptr);
  if (rc != ERROR_SUCCESS) return rc;
  return ::RegSetValueExA(key.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>(text.size() + 1));
}

}  // namespace

std::string ModuleFilePath(HMODULE module) {
  char path[MAX_PATH + 1] = {};
  DWORD n = ::GetModuleFileNameA(module, path, MAX_PATH);
  return (n == 0 || n >= MAX_PATH) ? std::string() : std::string(path, n);
}

HRESULT RegisterInprocServer(const InprocServerInfo& info, const std::string& serverPath) noexcept {
  try {
    const std::string clsidKey = std::string("CLSID\\") + info.clsid;
    struct Entry {
      std::string key;
      const char* name;
      std::string value;
    };
    Entry entries[] = {
        {clsidKey, nullptr, info.description ? info.description : info.progId},
        {clsidKey + "\\InprocServer32", nullptr, serverPath},
        {clsidKey + "\\InprocServer32", "ThreadingModel", info.threadingModel},
        {clsidKey + "\\ProgID", nullptr, info.progId},
        {info.progId, nullptr, info.progId},
        {std::string(info.progId) + "\\Clsid", nullptr, info.clsid},
    };
    for (const Entry& e : entries) {
      LONG rc = SetKeyValue(e.key, e.name, e.value);
      if (rc != ERROR_SUCCESS) return HRESULT_FROM_WIN32(rc);
    }
    if (info.typeLibId) {
      LONG rc = SetKeyValue(clsidKey + "\\TypeLib", nullptr, info.typeLibId);
      if (rc != ERROR_SUCCESS) return HRESULT_FROM_WIN32(rc);
    }
    if (info.version) {
      LONG rc = SetKeyValue(clsidKey + "\\VERSION", nullptr, info.version);
      if (rc != ERROR_SUCCESS) return HRESULT_FROM_WIN32(rc);
    }
    return S_OK;
  } catch (...) {
    return E_OUTOFMEMORY;
  }
}

HRESULT UnregisterInprocServer(const InprocServerInfo& info) noexcept {
  try {
    DeleteKeyTree(HKEY_CLASSES_ROOT, (std::string("CLSID\\") + info.clsid).c_str());
    DeleteKeyTree(HKEY_CLASSES_ROOT, info.progId);
    return S_OK;
  } catch (...) {
    return E_OUTOFMEMORY;
  }
}

HRESULT LoadModuleTypeLib(HMODULE module, REGKIND kind, ITypeLib** lib) noexcept {
  *lib = nullptr;
  try {
    const std::string path = ModuleFilePath(module);
    if (path.empty()) return E_FAIL;
    // A vector, not a wide string: the wide string's code would add some 35 KB to each server.
    std::vector<wchar_t> widePath(path.size() + 1, L'\0');
    if (!::MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, widePath.data(), static_cast<int>(widePath.size())))
      return E_FAIL;
    return ::LoadTypeLibEx(widePath.data(), kind, lib);
  } catch (...) {
    return E_OUTOFMEMORY;
  }
}

HRESULT RegisterServerAndTypeLib(const InprocServerInfo& info, HMODULE module) noexcept {
  try {
    const std::string path = ModuleFilePath(module);
    if (path.empty()) return HRESULT_FROM_WIN32(::GetLastError());
    HRESULT hr = RegisterInprocServer(info, path);
    if (FAILED(hr)) return hr;
    ComPtr<ITypeLib> typeLib;
    hr = LoadModuleTypeLib(module, REGKIND_REGISTER, typeLib.put());
    return FAILED(hr) ? hr : S_OK;
  } catch (...) {
    return E_OUTOFMEMORY;
  }
}

HRESULT UnregisterServerAndTypeLib(const InprocServerInfo& info, const GUID& libid, WORD major,
                                   WORD minor) noexcept {
#ifdef _WIN64
  constexpr SYSKIND kSysKind = SYS_WIN64;
#else
  constexpr SYSKIND kSysKind = SYS_WIN32;
#endif
  ::UnRegisterTypeLib(libid, major, minor, LOCALE_NEUTRAL, kSysKind);
  return UnregisterInprocServer(info);
}

}  // namespace vexbane::win
