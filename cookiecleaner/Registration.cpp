// Self-registration of the cookie cleaner's class and type library.
#include "Registration.h"

#include "Guids.h"
#include "win/com_registration.h"

namespace vexbane::cookiecleaner {
namespace {

const win::InprocServerInfo kServer = {kClsidText, kProgId, "Apartment", kLibidText, "1.0"};

}  // namespace

HRESULT RegisterServer(HMODULE module) noexcept { return win::RegisterServerAndTypeLib(kServer, module); }

HRESULT UnregisterServer() noexcept {
  return win::UnregisterServerAndTypeLib(kServer, kLibidCookieCleaner, kTypeLibMajor, kTypeLibMinor);
}

}  // namespace vexbane::cookiecleaner
