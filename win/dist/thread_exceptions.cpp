// Each thread's C++ exception state (the exceptions it has caught, the count of those in flight),
// kept in a list by thread id instead of in thread-local storage.
//
// The library keeps this state in a thread-local variable. The compiler's thread-local variables
// bring the runtime's TLS directory into every DLL, and Windows 95 refuses to load a DLL that has
// one; they also take a TLS slot per DLL, of which a browser full of add-ons may run short. A
// thread asks for its state only while an exception is thrown or caught, so a short list behind
// a spin lock costs nothing that matters.
#include "win/dist/thread_exceptions.h"

#include <windows.h>

#include <cstdlib>

namespace {

// The layout the language runtime expects (its __cxa_eh_globals).
struct ExceptionGlobals {
  void* caughtExceptions;
  unsigned int uncaughtExceptions;
};

struct ThreadEntry {
  DWORD threadId;
  ExceptionGlobals globals;
  ThreadEntry* next;
  bool fromHeap;
};

// A few entries that need no heap: the first threads to throw, and an out-of-memory throw.
constexpr int kStaticEntries = 8;
ThreadEntry g_staticEntries[kStaticEntries];
bool g_staticInUse[kStaticEntries];
ThreadEntry* g_threads;
// InterlockedExchange is the one atomic the 95 family has; a static initial value needs no
// constructor, so the lock works for exceptions thrown while static objects are being built.
LONG g_lock;

class SpinLock {
 public:
  SpinLock() noexcept {
    while (::InterlockedExchange(&g_lock, 1) != 0) ::Sleep(0);
  }
  ~SpinLock() { ::InterlockedExchange(&g_lock, 0); }
  SpinLock(const SpinLock&) = delete;
  SpinLock& operator=(const SpinLock&) = delete;
};

ThreadEntry* NewEntry() noexcept {
  for (int i = 0; i < kStaticEntries; ++i) {
    if (!g_staticInUse[i]) {
      g_staticInUse[i] = true;
      ThreadEntry* entry = &g_staticEntries[i];
      *entry = ThreadEntry{};
      return entry;
    }
  }
  void* memory = ::HeapAlloc(::GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(ThreadEntry));
  if (!memory) return nullptr;
  ThreadEntry* entry = static_cast<ThreadEntry*>(memory);
  entry->fromHeap = true;
  return entry;
}

void FreeEntry(ThreadEntry* entry) noexcept {
  if (entry->fromHeap) {
    ::HeapFree(::GetProcessHeap(), 0, entry);
    return;
  }
  g_staticInUse[entry - g_staticEntries] = false;
}

ExceptionGlobals* CurrentGlobals() noexcept {
  const DWORD self = ::GetCurrentThreadId();
  SpinLock lock;
  for (ThreadEntry* entry = g_threads; entry; entry = entry->next) {
    if (entry->threadId == self) return &entry->globals;
  }
  ThreadEntry* entry = NewEntry();
  // Without its exception state a thread cannot throw at all; the library ends the program the
  // same way when its own thread-local block cannot be had.
  if (!entry) std::abort();
  entry->threadId = self;
  entry->next = g_threads;
  g_threads = entry;
  return &entry->globals;
}

}  // namespace

namespace __cxxabiv1 {
extern "C" {

ExceptionGlobals* __cxa_get_globals() noexcept { return CurrentGlobals(); }
ExceptionGlobals* __cxa_get_globals_fast() noexcept { return CurrentGlobals(); }

}  // extern "C"
}  // namespace __cxxabiv1

namespace vexbane::win {

void ReleaseThreadExceptionState() noexcept {
  const DWORD self = ::GetCurrentThreadId();
  ThreadEntry* gone = nullptr;
  {
    SpinLock lock;
    for (ThreadEntry** link = &g_threads; *link; link = &(*link)->next) {
      if ((*link)->threadId == self) {
        gone = *link;
        *link = gone->next;
        if (!gone->fromHeap) {
          // A static entry goes back to the pool under the lock; a heap one is freed outside it.
          FreeEntry(gone);
          gone = nullptr;
        }
        break;
      }
    }
  }
  if (gone) FreeEntry(gone);
}

void ReleaseAllThreadExceptionStates() noexcept {
  ThreadEntry* all = nullptr;
  {
    SpinLock lock;
    all = g_threads;
    g_threads = nullptr;
  }
  while (all) {
    ThreadEntry* next = all->next;
    if (all->fromHeap) {
      FreeEntry(all);
    } else {
      SpinLock lock;
      FreeEntry(all);
    }
    all = next;
  }
}

int ThreadExceptionStatesHeld() noexcept {
  SpinLock lock;
  int count = 0;
  for (ThreadEntry* entry = g_threads; entry; entry = entry->next) ++count;
  return count;
}

}  // namespace vexbane::win
