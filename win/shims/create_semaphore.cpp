// CreateSemaphoreW for the compiler's runtime, answered with CreateSemaphoreA.
//
// The win32-thread runtime (its mutexes, the exception frames' lock, emulated TLS) creates its
// unnamed semaphores with CreateSemaphoreW, a stub that fails on Windows 95, 98 and Me; a lock
// without its semaphore breaks as soon as two threads contend for it. This object is linked into
// every shipped file and defines the import slot the runtime calls through, so the runtime's
// calls land here and the file imports no CreateSemaphoreW at all.
#include <windows.h>

namespace {

HANDLE WINAPI CreateSemaphoreAnsi(LPSECURITY_ATTRIBUTES attributes, LONG initial, LONG maximum,
                                  LPCWSTR name) noexcept {
  if (name) {  // the runtime never names one; a name would need converting
    ::SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
    return nullptr;
  }
  return ::CreateSemaphoreA(attributes, initial, maximum, nullptr);
}

}  // namespace

#ifdef _WIN64
#define VEXBANE_IMPORT_SLOT "__imp_CreateSemaphoreW"
#else
#define VEXBANE_IMPORT_SLOT "__imp__CreateSemaphoreW@16"
#endif

extern "C" {
__attribute__((used)) decltype(&CreateSemaphoreAnsi) vexbane_create_semaphore_slot
    __asm__(VEXBANE_IMPORT_SLOT) = &CreateSemaphoreAnsi;
}
