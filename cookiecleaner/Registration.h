// Self-registration of the cookie cleaner's class and type library.
#pragma once
#include <windows.h>

namespace vexbane::cookiecleaner {

// Registers the class (in-process, apartment, ProgID) and the type library embedded in `module`.
HRESULT RegisterServer(HMODULE module) noexcept;
// Removes what RegisterServer wrote; missing entries are not an error.
HRESULT UnregisterServer() noexcept;

}  // namespace vexbane::cookiecleaner
