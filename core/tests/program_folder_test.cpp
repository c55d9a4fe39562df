// Which program folders the deliverables read, create and start files in.
#include "core/program_folder.h"

#include <gtest/gtest.h>

namespace vexbane {
namespace {

TEST(IsAbsoluteFolder, ADriveOrAShareNamesItself) {
  for (const char* folder : {"C:\\Program Files\\Vexbane", "C:", "d:\\x", "\\\\server\\share\\Vexbane"})
    EXPECT_TRUE(IsAbsoluteFolder(folder)) << folder;
}

TEST(IsAbsoluteFolder, EmptyRelativeOrCurrentDriveRootedFoldersDoNot) {
  // A module path longer than MAX_PATH gives no folder at all: "\WebSite.dat" would land at the
  // root of whatever drive is current.
  for (const char* folder : {"", "\\", "\\Vexbane", "Vexbane", ".\\Vexbane", "C:Vexbane", "\\\\"})
    EXPECT_FALSE(IsAbsoluteFolder(folder)) << folder;
}

}  // namespace
}  // namespace vexbane
