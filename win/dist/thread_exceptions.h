// Each thread's C++ exception state, kept without thread-local storage.
#pragma once

namespace vexbane::win {

// Gives back the calling thread's exception state. A DLL calls it at DLL_THREAD_DETACH: the
// loader of the oldest systems never runs a run-time-loaded DLL's thread-local-storage
// callbacks, so nothing else would.
void ReleaseThreadExceptionState() noexcept;

// Gives back every thread's exception state: a DLL calls it at DLL_PROCESS_DETACH, so that a
// DLL loaded and unloaded again and again leaves nothing behind.
void ReleaseAllThreadExceptionStates() noexcept;

// What a DLL's entry point does for the exception states, with `reason` and `reserved` as
// DllMain got them: a new thread's id is cleared of a dead thread's state, a leaving thread's
// state is given back, and everything is given back when the DLL is unloaded, but nothing at
// process exit (DllMain's `reserved` not null), when the other threads were ended wherever they
// stood and the lock may never be let go.
void ThreadExceptionsOnDllMain(unsigned long reason, void* reserved) noexcept;

// How many threads hold an exception state now (for the suites).
int ThreadExceptionStatesHeld() noexcept;

// Runs `task` while holding the lock of the list (for the suites: a holder that is ended).
void HoldThreadExceptionLockWhile(void (*task)(void*), void* context) noexcept;

}  // namespace vexbane::win
