// Self-registration of the helper's class and type library.
#include "Registration.h"

#include "Guids.h"
#include "win/com_registration.h"

namespace vexbane::ext {
namespace {

const win::InprocServerInfo kServer = {kClsidText, kProgId, "Apartment", kLibidText, "5.0"};

}  // namespace

HRESULT RegisterServer(HMODULE module) noexcept { return win::RegisterServerAndTypeLib(kServer, module); }

HRESULT UnregisterServer() noexcept {
  return win::UnregisterServerAndTypeLib(kServer, kLibidVexbaneIEDLL, kTypeLibMajor, kTypeLibMinor);
}

}  // namespace vexbane::ext
