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

// How many threads hold an exception state now (for the suites).
int ThreadExceptionStatesHeld() noexcept;

}  // namespace vexbane::win
