// Calls into WINMM and SHLWAPI, each DLL loaded at its first use.
//
// Loading a DLL at every browser window's start costs that window its loader work; WINMM in
// particular brings several more DLLs with it, for a sound that plays only when a window is
// blocked. Once loaded a DLL stays for the life of the process, as an import would.
#include "win/occasional_calls.h"

#include <cstring>

namespace vexbane::win {
namespace {

// Each DLL as loaded from the system folder; a race of two first calls loads it twice, which
// only counts it twice.
HMODULE g_winmm;
HMODULE g_shlwapi;

FARPROC SystemCall(HMODULE& module, const char* dll, const char* name) noexcept {
  if (!module) module = LoadSystemLibrary(dll);
  return module ? ::GetProcAddress(module, name) : nullptr;
}

}  // namespace

HMODULE LoadSystemLibrary(const char* fileName) noexcept {
  // A bare name would be searched for in the current folder before the system folder on
  // systems without safe DLL search (95, 98, Me, NT 4, 2000, XP before SP2), and the browser's
  // current folder is wherever the user last saved a file.
  char path[MAX_PATH];
  const UINT length = ::GetSystemDirectoryA(path, MAX_PATH);
  const size_t name = std::strlen(fileName);
  if (length == 0 || length + 1 + name >= MAX_PATH) return nullptr;
  size_t at = length;
  if (path[at - 1] != '\\') path[at++] = '\\';
  std::memcpy(path + at, fileName, name + 1);
  return ::LoadLibraryA(path);
}

bool PlaySoundAsync(const char* sound) noexcept {
  using PlaySoundFn = BOOL(WINAPI*)(const char*, HMODULE, DWORD);
  auto play = reinterpret_cast<PlaySoundFn>(SystemCall(g_winmm, "winmm.dll", "PlaySoundA"));
  constexpr DWORD kSndAsync = 0x0001;  // SND_ASYNC
  return play && play(sound, nullptr, kSndAsync);
}

LONG DeleteKeyTree(HKEY root, const char* subKey) noexcept {
  using DeleteKeyFn = LONG(WINAPI*)(HKEY, const char*);
  auto deleteKey = reinterpret_cast<DeleteKeyFn>(SystemCall(g_shlwapi, "shlwapi.dll", "SHDeleteKeyA"));
  return deleteKey ? deleteKey(root, subKey) : ERROR_PROC_NOT_FOUND;
}

}  // namespace vexbane::win
