// Registry entries of an in-process COM server.
#include "win/com_registration.h"

#include <shlwapi.h>

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
        {clsidKey, nullptr, info.progId},
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
    ::SHDeleteKeyA(HKEY_CLASSES_ROOT, (std::string("CLSID\\") + info.clsid).c_str());
    ::SHDeleteKeyA(HKEY_CLASSES_ROOT, info.progId);
    return S_OK;
  } catch (...) {
    return E_OUTOFMEMORY;
  }
}

}  // namespace vexbane::win
