// Start-up routines marked noexcept meet an allocation failure without ending the program.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <string>

#include "TrayMain.h"

namespace {
// Set while a test wants every allocation of its thread to fail.
thread_local bool t_failAllocations = false;

struct FailAllocations {
  FailAllocations() { t_failAllocations = true; }
  ~FailAllocations() { t_failAllocations = false; }
};
}  // namespace

void* operator new(std::size_t size) {
  if (t_failAllocations) throw std::bad_alloc();
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace vexbane::tray {
namespace {

TEST(OutOfMemory, StartUpFoldersComeBackEmptyInsteadOfEndingTheProgram) {
  std::string program = "unchanged", system = "unchanged";
  {
    FailAllocations fail;
    program = ProgramFolder();  // moved in: no allocation on the test's side
    system = SystemFolder();
  }
  EXPECT_EQ(program, "");
  EXPECT_EQ(system, "");
  EXPECT_NE(ProgramFolder(), "") << "with memory the folders are found";
  EXPECT_NE(SystemFolder(), "");
}

}  // namespace
}  // namespace vexbane::tray
