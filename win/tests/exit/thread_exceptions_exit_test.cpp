// The exception state kept without thread-local storage when threads are ended from outside:
// a thread id that a dead thread held, and a process that ends while a thread held the lock.
// Its own process: the last case leaves the lock as the end of a process does.
#include "win/dist/thread_exceptions.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <exception>
#include <stdexcept>

namespace vexbane::win {
namespace {

struct Numbered {
  int value;
};

// Throws, catches and rethrows on the calling thread; -1 when a step read a wrong state.
int ThrowRounds(int rounds) {
  int seen = 0;
  for (int i = 0; i < rounds; ++i) {
    try {
      try {
        throw Numbered{i};
      } catch (const Numbered&) {
        if (std::uncaught_exceptions() != 0) return -1;
        throw;
      }
    } catch (const Numbered& again) {
      if (again.value != i) return -1;
      ++seen;
    }
  }
  return seen;
}

struct Stop {
  HANDLE reached = nullptr;
};

// Stops inside a handler for ever, its caught exception in its state.
DWORD WINAPI StopInsideAHandler(void* param) {
  try {
    throw Numbered{99};
  } catch (const Numbered&) {
    ::SetEvent(static_cast<Stop*>(param)->reached);
    ::Sleep(INFINITE);
  }
  return 0;
}

void HoldForEver(void* param) {
  ::SetEvent(static_cast<Stop*>(param)->reached);
  ::Sleep(INFINITE);
}

// Stops for ever while it holds the list's lock.
DWORD WINAPI StopHoldingTheLock(void* param) {
  HoldThreadExceptionLockWhile(&HoldForEver, param);
  return 0;
}

// Starts `routine`, waits until it has stopped where it stops, and ends it from outside.
DWORD EndWhereItStops(LPTHREAD_START_ROUTINE routine) {
  Stop stop;
  stop.reached = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
  DWORD id = 0;
  HANDLE thread = ::CreateThread(nullptr, 0, routine, &stop, 0, &id);
  EXPECT_NE(thread, nullptr);
  if (!thread) return 0;
  EXPECT_EQ(::WaitForSingleObject(stop.reached, 10000), WAIT_OBJECT_0);
  ::TerminateThread(thread, 1);
  ::WaitForSingleObject(thread, 10000);
  ::CloseHandle(thread);
  ::CloseHandle(stop.reached);
  return id;
}

struct Probe {
  DWORD deadId = 0;
  bool reused = false;
  bool clean = true;
};

// A new thread as the loader starts it: the DLL hears DLL_THREAD_ATTACH first.
DWORD WINAPI NewThread(void* param) {
  auto* probe = static_cast<Probe*>(param);
  ThreadExceptionsOnDllMain(DLL_THREAD_ATTACH, nullptr);
  if (::GetCurrentThreadId() == probe->deadId) probe->reused = true;
  if (std::uncaught_exceptions() != 0 || std::current_exception()) probe->clean = false;
  if (ThrowRounds(2) != 2) probe->clean = false;
  ThreadExceptionsOnDllMain(DLL_THREAD_DETACH, nullptr);
  return 0;
}

// TerminateThread tells no DLL, so the dead thread's entry stays; the system soon gives its id
// to a new thread, which must not find the dead thread's caught exception as its own.
TEST(ThreadExceptionsEnded, ANewThreadWithADeadThreadsIdStartsWithNoExceptions) {
  Probe probe;
  probe.deadId = EndWhereItStops(&StopInsideAHandler);
  ASSERT_NE(probe.deadId, 0u);
  for (int i = 0; i < 500 && !probe.reused; ++i) {
    HANDLE thread = ::CreateThread(nullptr, 0, &NewThread, &probe, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    ::WaitForSingleObject(thread, 10000);
    ::CloseHandle(thread);
  }
  EXPECT_TRUE(probe.clean);
  if (!probe.reused) GTEST_SKIP() << "this system gave the dead thread's id to none of 500 new threads";
}

struct ExitRun {
  int rounds = 0;
};

// What the DLL's entry point does at process exit, then the DLL's static objects' destructors
// throwing and catching on the same thread.
DWORD WINAPI DetachAtProcessExit(void* param) {
  ThreadExceptionsOnDllMain(DLL_PROCESS_DETACH, reinterpret_cast<void*>(1));
  static_cast<ExitRun*>(param)->rounds = ThrowRounds(3);
  return 0;
}

// At process exit Windows ends every other thread before DLL_PROCESS_DETACH, wherever it stood:
// one that held the lock left it held, and the browser spun for ever instead of ending.
// Runs last: the process is ending as far as the list knows.
TEST(ThreadExceptionsEnded, AProcessEndingWhileAnEndedThreadHeldTheLockEndsAtOnce) {
  ASSERT_EQ(ThrowRounds(1), 1);
  ASSERT_NE(EndWhereItStops(&StopHoldingTheLock), 0u);
  ExitRun run;
  HANDLE thread = ::CreateThread(nullptr, 0, &DetachAtProcessExit, &run, 0, nullptr);
  ASSERT_NE(thread, nullptr);
  const DWORD waited = ::WaitForSingleObject(thread, 5000);
  ::CloseHandle(thread);
  ASSERT_EQ(waited, WAIT_OBJECT_0) << "the process detach hangs on the ended thread's lock";
  EXPECT_EQ(run.rounds, 3);
}

}  // namespace
}  // namespace vexbane::win
