// The helper's per-thread state: one for each thread, or none; never one shared by two threads.
#include "ThreadState.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <thread>
#include <vector>

namespace {
// Set while a test wants the allocations of its thread that may fail to fail.
thread_local bool t_failAllocations = false;
}  // namespace

void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  if (t_failAllocations) return nullptr;
  return std::malloc(size ? size : 1);
}

namespace vexbane::ext {
namespace {

TEST(ThreadStates, EachThreadHasAStateOfItsOwnUntilItIsReleased) {
  ThreadStates states(::TlsAlloc());
  ThreadState* mine = states.Current();
  ASSERT_NE(mine, nullptr);
  EXPECT_EQ(states.Current(), mine);
  ThreadState* other = nullptr;
  std::thread([&] {
    other = states.Current();
    states.ReleaseCurrent();
  }).join();
  EXPECT_NE(other, nullptr);
  EXPECT_NE(other, mine);
  mine->strPageURL = "http://page.example/";
  states.ReleaseCurrent();
  ThreadState* fresh = states.Current();
  ASSERT_NE(fresh, nullptr);
  EXPECT_EQ(fresh->strPageURL, "") << "a released state starts empty again";
}

// NT 4.0 has 64 TLS slots and the 95 family 80; a browser with many add-ons uses them up before
// the helper loads. Two threads sharing one state would write the same strings, and one thread's
// hook reset would unhook another's: a thread without its own gets none.
TEST(ThreadStates, WhenNoTlsSlotIsLeftNoThreadGetsAStateAndNoneIsShared) {
  std::vector<DWORD> taken;
  for (DWORD slot; (slot = ::TlsAlloc()) != TLS_OUT_OF_INDEXES;) taken.push_back(slot);
  ThreadStates states(::TlsAlloc());
  for (DWORD slot : taken) ::TlsFree(slot);
  ASSERT_FALSE(taken.empty());
  ThreadState* mine = states.Current();
  ThreadState placeholder;
  ThreadState* other = &placeholder;  // anything but null, until the thread says
  std::thread([&] { other = states.Current(); }).join();
  EXPECT_EQ(mine, nullptr);
  EXPECT_EQ(other, nullptr);
  states.ReleaseCurrent();  // nothing to free, and no harm
}

TEST(ThreadStates, AThreadWhoseStateCannotBeMadeGetsNoneWhileTheOthersKeepTheirOwn) {
  ThreadStates states(::TlsAlloc());
  ThreadState* mine = states.Current();
  ASSERT_NE(mine, nullptr);
  ThreadState placeholder;
  ThreadState* starved = &placeholder;
  std::thread([&] {
    t_failAllocations = true;
    starved = states.Current();
    t_failAllocations = false;
  }).join();
  EXPECT_EQ(starved, nullptr) << "no memory: no state, and not another thread's";
  EXPECT_EQ(states.Current(), mine);
}

}  // namespace
}  // namespace vexbane::ext
