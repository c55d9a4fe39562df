// The exception state kept per thread without thread-local storage: each thread's caught
// exceptions stay its own while others throw, and a thread's state goes when it is given back.
#include "win/dist/thread_exceptions.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <exception>
#include <stdexcept>
#include <string>
#include <vector>

namespace vexbane::win {
namespace {

struct Numbered {
  int value;
};

// Throws, catches, nests a second exception inside the handler and rethrows the first: every
// step reads the thread's own caught-exception chain and in-flight count.
int NestedRounds(int seed, int rounds) {
  int seen = 0;
  for (int i = 0; i < rounds; ++i) {
    try {
      try {
        throw Numbered{seed + i};
      } catch (const Numbered& outer) {
        if (std::uncaught_exceptions() != 0) return -1;
        try {
          throw std::runtime_error(std::to_string(outer.value));
        } catch (const std::runtime_error& inner) {
          if (std::stoi(inner.what()) != outer.value) return -1;
        }
        throw;  // the outer one again, found through this thread's chain only
      }
    } catch (const Numbered& again) {
      if (again.value != seed + i) return -1;
      ++seen;
    }
  }
  return seen;
}

struct Worker {
  int seed = 0;
  int rounds = 0;
  int result = 0;
  bool release = true;
};

DWORD WINAPI RunWorker(void* param) {
  auto* worker = static_cast<Worker*>(param);
  worker->result = NestedRounds(worker->seed, worker->rounds);
  if (worker->release) ReleaseThreadExceptionState();
  return 0;
}

TEST(ThreadExceptions, ManyThreadsThrowingAtOnceEachSeeOnlyTheirOwnExceptions) {
  // More threads than the state's static entries, so heap entries are used and given back too.
  constexpr int kThreads = 20;
  std::vector<Worker> workers(kThreads);
  std::vector<HANDLE> threads;
  for (int i = 0; i < kThreads; ++i) {
    workers[i].seed = i * 100000;
    workers[i].rounds = 300;
    threads.push_back(::CreateThread(nullptr, 0, &RunWorker, &workers[i], 0, nullptr));
    ASSERT_NE(threads.back(), nullptr);
  }
  ::WaitForMultipleObjects(kThreads, threads.data(), TRUE, 60000);
  for (HANDLE thread : threads) ::CloseHandle(thread);
  for (const Worker& worker : workers) EXPECT_EQ(worker.result, worker.rounds) << worker.seed;
}

TEST(ThreadExceptions, AHandlerKeepsItsExceptionWhileAnotherThreadThrowsAndCatches) {
  Worker other;
  other.seed = 7000;
  other.rounds = 200;
  try {
    throw Numbered{42};
  } catch (const Numbered&) {
    HANDLE thread = ::CreateThread(nullptr, 0, &RunWorker, &other, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    ::WaitForSingleObject(thread, 60000);
    ::CloseHandle(thread);
    std::exception_ptr mine = std::current_exception();
    try {
      std::rethrow_exception(mine);
    } catch (const Numbered& same) {
      EXPECT_EQ(same.value, 42);
    }
  }
  EXPECT_EQ(other.result, other.rounds);
}

TEST(ThreadExceptions, AThreadsStateGoesWhenItIsGivenBack) {
  const int before = ThreadExceptionStatesHeld();
  Worker kept;
  kept.rounds = 1;
  kept.release = false;
  HANDLE thread = ::CreateThread(nullptr, 0, &RunWorker, &kept, 0, nullptr);
  ASSERT_NE(thread, nullptr);
  ::WaitForSingleObject(thread, 60000);
  ::CloseHandle(thread);
  EXPECT_EQ(kept.result, 1);
  EXPECT_EQ(ThreadExceptionStatesHeld(), before + 1) << "a thread that threw holds a state until given back";

  Worker released;
  released.rounds = 1;
  thread = ::CreateThread(nullptr, 0, &RunWorker, &released, 0, nullptr);
  ASSERT_NE(thread, nullptr);
  ::WaitForSingleObject(thread, 60000);
  ::CloseHandle(thread);
  EXPECT_EQ(ThreadExceptionStatesHeld(), before + 1);

  ReleaseAllThreadExceptionStates();
  EXPECT_EQ(ThreadExceptionStatesHeld(), 0);
  // Throwing still works after everything was given back: the state is made again.
  EXPECT_EQ(NestedRounds(1, 3), 3);
  EXPECT_EQ(ThreadExceptionStatesHeld(), 1);
}

}  // namespace
}  // namespace vexbane::win
