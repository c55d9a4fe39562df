// A DLL named like a system DLL, left in a folder the browser may stand in: it only tells that it
// was loaded, by an environment variable of the process that loaded it.
#include <windows.h>

#ifndef PLANTED_MARK
#error "the build names the variable this DLL sets"
#endif

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) ::SetEnvironmentVariableA(PLANTED_MARK, "loaded");
  return TRUE;
}
