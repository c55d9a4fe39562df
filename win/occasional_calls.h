// Calls into system DLLs that the programs need only now and then (a block's sound, removing a
// registration), with each DLL loaded at its first use instead of with every browser window.
#pragma once

#include <windows.h>

namespace vexbane::win {

// LoadLibraryA of `fileName` in the system folder, by its full path: never a DLL of that name
// in the current folder, which the oldest systems search first. Null when it cannot be loaded.
HMODULE LoadSystemLibrary(const char* fileName) noexcept;

// PlaySoundA(sound, nullptr, SND_ASYNC) from WINMM. False when WINMM or the call is missing or
// the sound could not be started.
bool PlaySoundAsync(const char* sound) noexcept;

// SHDeleteKeyA from SHLWAPI: removes the key with everything below it. Returns the system's
// error code; ERROR_PROC_NOT_FOUND when SHLWAPI or the call is missing.
LONG DeleteKeyTree(HKEY root, const char* subKey) noexcept;

}  // namespace vexbane::win
