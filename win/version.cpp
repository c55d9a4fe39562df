// Which family of Windows the program runs on.
#include "win/version.h"

namespace vexbane::win {

bool IsWindows9x() noexcept {
  // The high bit of GetVersion is set on the 95 family only (and on Win32s, which is not ours).
  return (::GetVersion() & 0x80000000u) != 0;
}

bool IsVistaOrLater() noexcept {
  const DWORD version = ::GetVersion();
  return !(version & 0x80000000u) && (version & 0xFF) >= 6;
}

}  // namespace vexbane::win
