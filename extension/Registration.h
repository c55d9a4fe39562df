// Self-registration of the helper's class and type library.
#pragma once
#include <windows.h>

namespace vexbane::ext {

// Registers the class (in-process, apartment) and the type library embedded in `module`.
HRESULT RegisterServer(HMODULE module) noexcept;
// Removes what RegisterServer wrote; missing entries are not an error.
HRESULT UnregisterServer() noexcept;

}  // namespace vexbane::ext
