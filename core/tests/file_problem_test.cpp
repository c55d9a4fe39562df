// The notices' sentences name the file and the cause.
#include "core/file_problem.h"

#include <gtest/gtest.h>

namespace vexbane {
namespace {

TEST(FileProblemSentence, NamesTheFileAndTheLikelyCause) {
  EXPECT_EQ(FileProblemSentence("WebSite.dat", FileProblem::HeldByAnotherProgram, true, 32),
            "WebSite.dat is held open by another program; try again once that program has closed it.");
  EXPECT_EQ(FileProblemSentence("IECookieURL.dat", FileProblem::ReadOnly, true, 5), "IECookieURL.dat is marked read-only.");
  EXPECT_EQ(FileProblemSentence("BlockedHost.dat", FileProblem::NoPermission, true, 5),
            "This account has no permission to change BlockedHost.dat; an administrator can reinstall Vexbane to "
            "allow it.");
  EXPECT_EQ(FileProblemSentence("BlockedHost.dat", FileProblem::NoPermission, false, 5),
            "This account has no permission to read BlockedHost.dat; an administrator can reinstall Vexbane to "
            "allow it.");
  EXPECT_EQ(FileProblemSentence("WebSite.dat", FileProblem::FolderInTheWay, false, 5),
            "A folder named WebSite.dat stands where the file belongs.");
  EXPECT_EQ(FileProblemSentence("WebSite.dat", FileProblem::Missing, false, 2),
            "WebSite.dat is missing and could not be made.");
  EXPECT_EQ(FileProblemSentence("WebSite.dat", FileProblem::Other, true, 112),
            "WebSite.dat could not be written (error 112).");
  EXPECT_EQ(FileProblemSentence("WebSite.dat", FileProblem::Other, false, 23),
            "WebSite.dat could not be read (error 23).");
}

}  // namespace
}  // namespace vexbane
