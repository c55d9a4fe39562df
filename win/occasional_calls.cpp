// Calls into WINMM and SHLWAPI, each DLL loaded at its first use.
//
// Loading a DLL at every browser window's start costs that window its loader work; WINMM in
// particular brings several more DLLs with it, for a sound that plays only when a window is
// blocked. Once loaded a DLL stays for the life of the process, as an import would.
#include "win/occasional_calls.h"

namespace vexbane::win {
namespace {

FARPROC SystemCall(const char* dll, const char* name) noexcept {
  HMODULE module = ::GetModuleHandleA(dll);
  if (!module) module = ::LoadLibraryA(dll);
  return module ? ::GetProcAddress(module, name) : nullptr;
}

}  // namespace

bool PlaySoundAsync(const char* sound) noexcept {
  using PlaySoundFn = BOOL(WINAPI*)(const char*, HMODULE, DWORD);
  auto play = reinterpret_cast<PlaySoundFn>(SystemCall("winmm.dll", "PlaySoundA"));
  constexpr DWORD kSndAsync = 0x0001;  // SND_ASYNC
  return play && play(sound, nullptr, kSndAsync);
}

LONG DeleteKeyTree(HKEY root, const char* subKey) noexcept {
  using DeleteKeyFn = LONG(WINAPI*)(HKEY, const char*);
  auto deleteKey = reinterpret_cast<DeleteKeyFn>(SystemCall("shlwapi.dll", "SHDeleteKeyA"));
  return deleteKey ? deleteKey(root, subKey) : ERROR_PROC_NOT_FOUND;
}

}  // namespace vexbane::win
