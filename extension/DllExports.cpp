// The four exports of the in-process server.
#include <windows.h>

#include "CVexbaneIEDLL.h"
#include "win/com_server.h"
#include "Guids.h"
#include "Hooks.h"
#include "Registration.h"
#include "ThreadState.h"
#include "win/dist/thread_exceptions.h"
#include "win/window.h"

using namespace vexbane::ext;
using vexbane::win::ClassEntry;
using vexbane::win::GetClassObjectFromTable;
using vexbane::win::ModuleCount;

namespace {
const ClassEntry kClasses[] = {{&kClsidCVexbaneIEDLL, &CreateCVexbaneIEDLL}};
}

extern "C" {

// Objects, server locks and installed hooks all keep the code in memory.
STDAPI DllCanUnloadNow() noexcept { return ModuleCount() == 0 && !AnyHooksInstalled() ? S_OK : S_FALSE; }

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) noexcept {
  return GetClassObjectFromTable(kClasses, sizeof kClasses / sizeof kClasses[0], clsid, iid, out);
}

STDAPI DllRegisterServer() noexcept { return RegisterServer(vexbane::win::ThisModule()); }

STDAPI DllUnregisterServer() noexcept { return UnregisterServer(); }

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) noexcept {
  // Thread notifications stay on: each browser thread's state goes with the thread.
  if (reason == DLL_THREAD_DETACH) ReleaseCurrentThreadState();
  vexbane::win::ThreadExceptionsOnDllMain(reason, reserved);
  return TRUE;
}

}  // extern "C"
