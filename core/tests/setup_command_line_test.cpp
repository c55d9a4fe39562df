// The setup program's command line: /S, /D= taken last with its spaces, /AUTOCLEAN=0|1.
#include "core/setup_command_line.h"

#include <gtest/gtest.h>

namespace vexbane {
namespace {

TEST(SetupCommandLineTest, EmptyLineMeansPagesDefaultFolderAndDefaultCleaning) {
  SetupCommandLine c = ParseSetupCommandLine("");
  EXPECT_FALSE(c.silent);
  EXPECT_EQ(c.folder, "");
  EXPECT_EQ(c.autoClean, -1);
  EXPECT_FALSE(c.badSwitch);
}

TEST(SetupCommandLineTest, FolderIsTheRestOfTheLineWithItsSpaces) {
  SetupCommandLine c = ParseSetupCommandLine("/S /D=C:\\Program Files\\My Blocker  ");
  EXPECT_TRUE(c.silent);
  EXPECT_EQ(c.folder, "C:\\Program Files\\My Blocker");
}

TEST(SetupCommandLineTest, SwitchesAfterTheFolderBelongToTheFolder) {
  SetupCommandLine c = ParseSetupCommandLine("/D=C:\\A B /S");
  EXPECT_FALSE(c.silent);
  EXPECT_EQ(c.folder, "C:\\A B /S");
}

TEST(SetupCommandLineTest, QuotedFolderAndTrailingBackslashAreDropped) {
  EXPECT_EQ(ParseSetupCommandLine("/D=\"D:\\Tools\\Vexbane\\\"").folder, "D:\\Tools\\Vexbane");
  EXPECT_EQ(ParseSetupCommandLine("/D=D:\\Tools\\").folder, "D:\\Tools");
  // A drive's root keeps its backslash.
  EXPECT_EQ(ParseSetupCommandLine("/D=D:\\").folder, "D:\\");
}

TEST(SetupCommandLineTest, SwitchLettersInAnyCase) {
  SetupCommandLine c = ParseSetupCommandLine("/s /autoclean=0 /d=E:\\V");
  EXPECT_TRUE(c.silent);
  EXPECT_EQ(c.autoClean, 0);
  EXPECT_EQ(c.folder, "E:\\V");
}

TEST(SetupCommandLineTest, AutoCleanTakesOnlyZeroOrOne) {
  EXPECT_EQ(ParseSetupCommandLine("/AUTOCLEAN=1").autoClean, 1);
  EXPECT_EQ(ParseSetupCommandLine("/AUTOCLEAN=0").autoClean, 0);
  for (const char* bad : {"/AUTOCLEAN=", "/AUTOCLEAN=2", "/AUTOCLEAN=yes", "/AUTOCLEAN=10"}) {
    SetupCommandLine c = ParseSetupCommandLine(bad);
    EXPECT_EQ(c.autoClean, -1) << bad;
    EXPECT_TRUE(c.badSwitch) << bad;
  }
}

TEST(SetupCommandLineTest, OtherWordsAreIgnoredAndSIsAWholeWord) {
  SetupCommandLine c = ParseSetupCommandLine("/NCRC /Silent foo");
  EXPECT_FALSE(c.silent);
  EXPECT_FALSE(c.badSwitch);
  EXPECT_EQ(c.folder, "");
}

TEST(SetupCommandLineTest, RemoveAfterTakesADecimalHandleAndTheFolderStaysLast) {
  SetupCommandLine c = ParseSetupCommandLine("/REMOVEAFTER=1234 /D=C:\\Program Files\\Vexbane");
  EXPECT_EQ(c.removeAfter, 1234u);
  EXPECT_EQ(c.folder, "C:\\Program Files\\Vexbane");
  EXPECT_EQ(ParseSetupCommandLine("/REMOVEAFTER=12x").removeAfter, 0u);
  EXPECT_EQ(ParseSetupCommandLine("/REMOVEAFTER=").removeAfter, 0u);
  EXPECT_EQ(ParseSetupCommandLine("/REMOVEAFTER=99999999999").removeAfter, 0u);
}

TEST(SetupCommandLineTest, OnlyFullFolderPathsAreInstallFolders) {
  for (const char* good : {"C:\\Program Files\\Vexbane", "d:\\V", "C:\\", "\\\\server\\share\\Vexbane"})
    EXPECT_TRUE(IsFullFolderPath(good)) << good;
  for (const char* bad : {"", "Vexbane", "C:Vexbane", "\\Vexbane", "..\\Vexbane", "C:\\A?B", "C:\\A:B",
                          "C:\\A\"B", "\\\\server", "1:\\x"})
    EXPECT_FALSE(IsFullFolderPath(bad)) << bad;
}

}  // namespace
}  // namespace vexbane
