// Cookie owner names, index files and the keep-list format.
#include "core/cookies.h"

#include <gtest/gtest.h>

namespace vexbane {
namespace {

struct NameCase {
  const char* file;
  const char* name;
};

class CookieNameTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(CookieNameTest, DerivesTheOwnerName) {
  EXPECT_EQ(CookieNameFromFileName(GetParam().file), GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(
    Table, CookieNameTest,
    ::testing::Values(NameCase{"user@example[1].txt", "user@example"},
                      NameCase{"user@example[2].txt", "user@example"},
                      NameCase{"user@ads.site.txt", "user@ads.site"},
                      NameCase{"[odd].txt", "[odd]"},  // "[" first: the extension goes instead
                      NameCase{"abc", "abc"},          // too short to lose an extension
                      NameCase{"abcd", ""}, NameCase{"x[", "x"}));

TEST(IsCookieIndexFile, SkipsIndexFilesInAnyCase) {
  EXPECT_TRUE(IsCookieIndexFile("index.dat"));
  EXPECT_TRUE(IsCookieIndexFile("INDEX.DAT"));
  EXPECT_TRUE(IsCookieIndexFile("Indexer.txt"));
  EXPECT_FALSE(IsCookieIndexFile("user@index.txt"));
  EXPECT_FALSE(IsCookieIndexFile("ind"));
}

TEST(KeepList, FramesEachNameAndMatchesWithoutRegardToCase) {
  std::string text = FormatKeepList({"alice@a", "bob@b"});
  EXPECT_EQ(text, "#alice@a##bob@b#");
  EXPECT_EQ(FormatKeepList({}), "");
  EXPECT_TRUE(KeepListContains(text, "ALICE@A"));
  EXPECT_TRUE(KeepListContains(text, "bob@b"));
  EXPECT_FALSE(KeepListContains(text, "alice"));
  EXPECT_FALSE(KeepListContains("", "alice@a"));
}

TEST(KeepList, FirstLineDropsItsLineEnd) {
  EXPECT_EQ(FirstLine("#a##b#\r\n"), "#a##b#");
  EXPECT_EQ(FirstLine("#a#\r\n#ignored#\r\n"), "#a#");
  EXPECT_EQ(FirstLine(""), "");
  EXPECT_EQ(FirstLine("\r\n"), "");
}

}  // namespace
}  // namespace vexbane
