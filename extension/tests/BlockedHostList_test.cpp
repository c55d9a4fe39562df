// The helper's Blocked Hosts list as the decision consults it: read from the program folder only.
#include "BlockedHostList.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "testsupport/registry_fixture.h"

namespace vexbane::ext {
namespace {

// Without a folder of its own (a module path beyond MAX_PATH) the list would be
// "\BlockedHost.dat" at the root of the current drive, or a relative one wherever the browser
// stands: neither is read nor created, and nothing is blocked by them.
TEST(BlockedHostListHas, WithoutAnAbsoluteFolderNothingIsReadOrCreated) {
  testing::ScopedFolder folder{"vexbane-blockedhosts-guard"};
  char saved[MAX_PATH] = {};
  ASSERT_NE(::GetCurrentDirectoryA(MAX_PATH, saved), 0u);
  ASSERT_TRUE(::SetCurrentDirectoryA(folder.path().c_str()));
  const std::string atRoot = folder.path().substr(0, 3) + "BlockedHost.dat";  // "C:\BlockedHost.dat"
  ASSERT_EQ(::GetFileAttributesA(atRoot.c_str()), INVALID_FILE_ATTRIBUTES) << atRoot << " is left from elsewhere";
  ::CreateDirectoryA(folder.File("sub").c_str(), nullptr);
  folder.Write("sub\\BlockedHost.dat", "1\r\nads.example\r\n");

  EXPECT_FALSE(BlockedHostListHas("\\BlockedHost.dat", "ads.example"));
  EXPECT_FALSE(BlockedHostListHas("sub\\BlockedHost.dat", "ads.example")) << "a relative folder is no program folder";
  EXPECT_FALSE(BlockedHostListHas("BlockedHost.dat", "ads.example"));
  EXPECT_TRUE(BlockedHostListHas(folder.File("sub\\BlockedHost.dat"), "ads.example")) << "the same list from its own folder";
  const bool created = ::GetFileAttributesA(atRoot.c_str()) != INVALID_FILE_ATTRIBUTES;
  ::DeleteFileA(atRoot.c_str());
  ::DeleteFileA(folder.File("sub\\BlockedHost.dat").c_str());
  ::DeleteFileA(folder.File("BlockedHost.dat").c_str());
  ::RemoveDirectoryA(folder.File("sub").c_str());
  ::SetCurrentDirectoryA(saved);
  EXPECT_FALSE(created) << "no list may appear at the drive's root";
}

}  // namespace
}  // namespace vexbane::ext
