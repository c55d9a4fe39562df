// Self-registration of the cookie cleaner's class and type library.
#include "Registration.h"

#include <oleauto.h>

#include <string>

#include "Guids.h"
#include "win/com_ptr.h"
#include "win/com_registration.h"

namespace vexbane::cookiecleaner {
namespace {

const win::InprocServerInfo kServer = {kClsidText, kProgId, "Apartment", kLibidText, "1.0"};

#ifdef _WIN64
constexpr SYSKIND kSysKind = SYS_WIN64;
#else
constexpr SYSKIND kSysKind = SYS_WIN32;
#endif

}  // namespace

HRESULT RegisterServer(HMODULE module) noexcept {
  try {
    const std::string path = win::ModuleFilePath(module);
    if (path.empty()) return HRESULT_FROM_WIN32(::GetLastError());
    HRESULT hr = win::RegisterInprocServer(kServer, path);
    if (FAILED(hr)) return hr;
    // The registered type library lets COM marshal the dual interface to callers in other apartments.
    std::wstring widePath(path.size() + 1, L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, widePath.data(), static_cast<int>(widePath.size()));
    win::ComPtr<ITypeLib> typeLib;
    hr = ::LoadTypeLibEx(widePath.c_str(), REGKIND_REGISTER, typeLib.put());
    return FAILED(hr) ? hr : S_OK;
  } catch (...) {
    return E_OUTOFMEMORY;
  }
}

HRESULT UnregisterServer() noexcept {
  ::UnRegisterTypeLib(kLibidCookieCleaner, kTypeLibMajor, kTypeLibMinor, LOCALE_NEUTRAL, kSysKind);
  return win::UnregisterInprocServer(kServer);
}

}  // namespace vexbane::cookiecleaner
