// WININIT.INI's [rename] section edited as text: repeated "NUL=" lines, other sections kept.
#include "core/wininit_rename.h"

#include <gtest/gtest.h>

namespace vexbane {
namespace {

TEST(WininitRenameTest, NoFileGivesANewSection) {
  EXPECT_EQ(AddWininitRenameLine("", "C:\\VEXBANE\\A.DLL=C:\\VEXBANE\\VXN1.TMP"),
            "[rename]\r\nC:\\VEXBANE\\A.DLL=C:\\VEXBANE\\VXN1.TMP\r\n");
}

TEST(WininitRenameTest, SeveralNulLinesStandSideBySide) {
  std::string text = AddWininitRenameLine("", "NUL=C:\\V\\A.OLD");
  text = AddWininitRenameLine(text, "NUL=C:\\V\\B.OLD");
  EXPECT_EQ(text, "[rename]\r\nNUL=C:\\V\\A.OLD\r\nNUL=C:\\V\\B.OLD\r\n");
  EXPECT_TRUE(HasWininitRenameLine(text, "NUL=C:\\V\\A.OLD"));
  EXPECT_TRUE(HasWininitRenameLine(text, "nul=c:\\v\\b.old"));
  // The same line twice would delete or move twice.
  EXPECT_EQ(AddWininitRenameLine(text, "NUL=C:\\V\\A.OLD"), text);
}

TEST(WininitRenameTest, LineGoesIntoTheExistingSectionBeforeTheNextOne) {
  std::string text = "[rename]\r\nNUL=C:\\OTHER.TMP\r\n\r\n[CombineVxDs]\r\nx=1\r\n";
  EXPECT_EQ(AddWininitRenameLine(text, "C:\\V\\A.DLL=C:\\V\\N.TMP"),
            "[rename]\r\nNUL=C:\\OTHER.TMP\r\nC:\\V\\A.DLL=C:\\V\\N.TMP\r\n\r\n[CombineVxDs]\r\nx=1\r\n");
}

TEST(WininitRenameTest, HeaderInAnyCaseAndLfLineEnds) {
  std::string text = "[Rename]\nNUL=C:\\X\n";
  EXPECT_EQ(AddWininitRenameLine(text, "NUL=C:\\Y"), "[Rename]\r\nNUL=C:\\X\r\nNUL=C:\\Y\r\n");
}

TEST(WininitRenameTest, RemoveTakesOnlyOurLineFromTheRenameSection) {
  std::string text = "[other]\r\nNUL=C:\\V\\A.OLD\r\n[rename]\r\nNUL=C:\\KEEP\r\nNUL=C:\\V\\A.OLD\r\n";
  EXPECT_EQ(RemoveWininitRenameLine(text, "NUL=C:\\V\\A.OLD"),
            "[other]\r\nNUL=C:\\V\\A.OLD\r\n[rename]\r\nNUL=C:\\KEEP\r\n");
  EXPECT_FALSE(HasWininitRenameLine("[other]\r\nNUL=C:\\Q\r\n", "NUL=C:\\Q"));
}

}  // namespace
}  // namespace vexbane
