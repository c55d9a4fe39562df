// Self-registration of the helper's class and type library.
#include "Registration.h"

#include "Guids.h"
#include "win/com_registration.h"

namespace vexbane::ext {
namespace {

// The class key's default value is the name Internet Explorer's add-on list shows.
const win::InprocServerInfo kServer = {kClsidText, kProgId, "Apartment", kLibidText, "5.0", kHelperName};

}  // namespace

HRESULT RegisterServer(HMODULE module) noexcept { return win::RegisterServerAndTypeLib(kServer, module); }

HRESULT UnregisterServer() noexcept {
  return win::UnregisterServerAndTypeLib(kServer, kLibidVexbaneIEDLL, kTypeLibMajor, kTypeLibMinor);
}

}  // namespace vexbane::ext
