// Self-registration of the helper's class and type library.
#include "Registration.h"

#include <oleauto.h>
#include <shlwapi.h>

#include <string>

#include "Guids.h"
#include "win/com_ptr.h"
#include "win/unique.h"

namespace vexbane::ext {
namespace {

LONG SetKeyValue(HKEY root, const std::string& path, const char* name, const std::string& text) {
  win::UniqueKey key;
  LONG rc = ::RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.put(), nullptr);
  if (rc != ERROR_SUCCESS) return rc;
  return ::RegSetValueExA(key.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>(text.size() + 1));
}

}  // namespace

HRESULT RegisterServer(HMODULE module) noexcept {
  try {
    char path[MAX_PATH + 1] = {};
    DWORD n = ::GetModuleFileNameA(module, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return HRESULT_FROM_WIN32(::GetLastError());

    const std::string clsidKey = std::string("CLSID\\") + kClsidText;
    const struct {
      std::string key;
      const char* name;
      std::string value;
    } entries[] = {
        {clsidKey, nullptr, kProgId},
        {clsidKey + "\\InprocServer32", nullptr, path},
        {clsidKey + "\\InprocServer32", "ThreadingModel", "Apartment"},
        {clsidKey + "\\ProgID", nullptr, kProgId},
        {clsidKey + "\\VERSION", nullptr, "5.0"},
        {clsidKey + "\\TypeLib", nullptr, kLibidText},
        {clsidKey + "\\Implemented Categories", nullptr, ""},
        {kProgId, nullptr, kProgId},
        {std::string(kProgId) + "\\Clsid", nullptr, kClsidText},
    };
    for (const auto& e : entries) {
      LONG rc = SetKeyValue(HKEY_CLASSES_ROOT, e.key, e.name, e.value);
      if (rc != ERROR_SUCCESS) return HRESULT_FROM_WIN32(rc);
    }

    wchar_t widePath[MAX_PATH + 1] = {};
    ::MultiByteToWideChar(CP_ACP, 0, path, -1, widePath, MAX_PATH);
    win::ComPtr<ITypeLib> typeLib;
    HRESULT hr = ::LoadTypeLibEx(widePath, REGKIND_REGISTER, typeLib.put());
    return FAILED(hr) ? hr : S_OK;
  } catch (...) {
    return E_UNEXPECTED;
  }
}

HRESULT UnregisterServer() noexcept {
  ::UnRegisterTypeLib(kLibidVexbaneIEDLL, kTypeLibMajor, kTypeLibMinor, LOCALE_NEUTRAL, SYS_WIN32);
  ::SHDeleteKeyA(HKEY_CLASSES_ROOT, (std::string("CLSID\\") + kClsidText).c_str());
  ::SHDeleteKeyA(HKEY_CLASSES_ROOT, kProgId);
  return S_OK;
}

}  // namespace vexbane::ext
