// The four exports of the cookie cleaner's in-process server.
#include <windows.h>

#include "CCookieCleaner.h"
#include "Guids.h"
#include "Registration.h"
#include "win/com_server.h"
#include "win/dist/thread_exceptions.h"
#include "win/window.h"

using namespace vexbane::cookiecleaner;
using vexbane::win::ClassEntry;
using vexbane::win::GetClassObjectFromTable;
using vexbane::win::ModuleCount;

namespace {
const ClassEntry kClasses[] = {{&kClsidCleaner, &CreateCookieCleaner}};
}

extern "C" {

STDAPI DllCanUnloadNow() noexcept { return ModuleCount() == 0 ? S_OK : S_FALSE; }

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) noexcept {
  return GetClassObjectFromTable(kClasses, sizeof kClasses / sizeof kClasses[0], clsid, iid, out);
}

STDAPI DllRegisterServer() noexcept { return RegisterServer(vexbane::win::ThisModule()); }

STDAPI DllUnregisterServer() noexcept { return UnregisterServer(); }

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) noexcept {
  // Thread notifications stay on: a thread that threw leaves its exception state behind.
  vexbane::win::ThreadExceptionsOnDllMain(reason, reserved);
  return TRUE;
}

}  // extern "C"
