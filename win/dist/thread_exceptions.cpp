// Each thread's C++ exception state (the exceptions it has caught, the count of those in flight),
// kept in a list by thread id instead of in thread-local storage.
//
// The library keeps this state in a thread-local variable. The compiler's thread-local variables
// bring the runtime's TLS directory into every DLL, and Windows 95 refuses to load one that has
// one; they also take a TLS slot per DLL, of which a browser full of add-ons may run short. A
// thread asks for its state only while an exception is thrown or caught, so a short list behind
// a spin lock costs nothing that matters.
//
// The lock is held only to walk and link the list: nothing is allocated under it, so a thread
// ended while it held the heap's own lock never also holds this one.
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
// Set when the process ends. Windows has ended every other thread by then, wherever it stood:
// a lock left held belongs to a thread that will never run again, and only this thread runs.
volatile LONG g_processEnding;

// Sleep(0) hands the processor only to a ready thread of the same priority, and the 95 family
// never lifts a starved thread's priority: a waiter above the holder's priority would spin on
// one CPU for ever. After a few quick tries the waiter sleeps, which lets any thread run.
constexpr unsigned kQuickTries = 16;

class SpinLock {
 public:
  SpinLock() noexcept {
    for (unsigned tries = 0; ::InterlockedExchange(&g_lock, 1) != 0; ++tries) {
      if (g_processEnding) return;
      ::Sleep(tries < kQuickTries ? 0 : 1);
    }
  }
  ~SpinLock() { ::InterlockedExchange(&g_lock, 0); }
  SpinLock(const SpinLock&) = delete;
  SpinLock& operator=(const SpinLock&) = delete;
};

// Under the lock: a static entry, or null when all are taken.
ThreadEntry* TakeStaticEntry() noexcept {
  for (int i = 0; i < kStaticEntries; ++i) {
    if (!g_staticInUse[i]) {
      g_staticInUse[i] = true;
      ThreadEntry* entry = &g_staticEntries[i];
      *entry = ThreadEntry{};
      return entry;
    }
  }
  return nullptr;
}

// Under the lock for a static entry; outside it for a heap one.
void FreeEntry(ThreadEntry* entry) noexcept {
  if (entry->fromHeap) {
    ::HeapFree(::GetProcessHeap(), 0, entry);
    return;
  }
  g_staticInUse[entry - g_staticEntries] = false;
}

// Under the lock.
ThreadEntry* FindEntry(DWORD threadId) noexcept {
  for (ThreadEntry* entry = g_threads; entry; entry = entry->next) {
    if (entry->threadId == threadId) return entry;
  }
  return nullptr;
}

// Under the lock.
ExceptionGlobals* Link(ThreadEntry* entry, DWORD threadId) noexcept {
  entry->threadId = threadId;
  entry->next = g_threads;
  g_threads = entry;
  return &entry->globals;
}

ExceptionGlobals* CurrentGlobals() noexcept {
  const DWORD self = ::GetCurrentThreadId();
  {
    SpinLock lock;
    if (ThreadEntry* entry = FindEntry(self)) return &entry->globals;
    if (ThreadEntry* entry = TakeStaticEntry()) return Link(entry, self);
  }
  // Only this thread adds an entry under its id, so none can appear while the lock is let go.
  void* memory = ::HeapAlloc(::GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(ThreadEntry));
  // Without its exception state a thread cannot throw at all; the library ends the program the
  // same way when its own thread-local block cannot be had.
  if (!memory) std::abort();
  ThreadEntry* entry = static_cast<ThreadEntry*>(memory);
  entry->fromHeap = true;
  SpinLock lock;
  return Link(entry, self);
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

void ThreadExceptionsOnDllMain(unsigned long reason, void* reserved) noexcept {
  switch (reason) {
    case DLL_THREAD_ATTACH:
      // The thread is new, so it has thrown nothing yet: an entry under its id is a dead
      // thread's, ended by TerminateThread, which tells no DLL. Its caught exceptions and
      // in-flight count must not become this thread's.
      ReleaseThreadExceptionState();
      break;
    case DLL_THREAD_DETACH:
      ReleaseThreadExceptionState();
      break;
    case DLL_PROCESS_DETACH:
      // At process exit the memory goes with the process, and the other threads were ended
      // wherever they stood, perhaps holding the lock: give nothing back, and let the lock no
      // longer wait (the DLL's static objects are destroyed after this and may still throw).
      // Unloaded by FreeLibrary, the process lives on: give everything back.
      if (reserved) {
        ::InterlockedExchange(const_cast<LONG*>(&g_processEnding), 1);
      } else {
        ReleaseAllThreadExceptionStates();
      }
      break;
    default:
      break;
  }
}

int ThreadExceptionStatesHeld() noexcept {
  SpinLock lock;
  int count = 0;
  for (ThreadEntry* entry = g_threads; entry; entry = entry->next) ++count;
  return count;
}

void HoldThreadExceptionLockWhile(void (*task)(void*), void* context) noexcept {
  SpinLock lock;
  task(context);
}

}  // namespace vexbane::win
