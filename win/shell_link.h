// Shortcuts (.lnk files) through the shell's IShellLinkA and IPersistFile.
#pragma once
#include <windows.h>

#include <string>

namespace vexbane::win {

// Writes the shortcut `linkPath` to `target` with a description. COM must be initialised on the
// calling thread. Returns S_OK or the failing call's error.
HRESULT CreateShellLink(const std::string& linkPath, const std::string& target, const std::string& description) noexcept;

}  // namespace vexbane::win
