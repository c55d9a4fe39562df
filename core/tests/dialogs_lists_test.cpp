// What the allow-list editor adds and the cookie manager lists and keeps.
#include <gtest/gtest.h>

#include <algorithm>

#include "core/allow_list.h"
#include "core/dialogs_lists.h"

namespace vexbane::dialogs {
namespace {

TEST(DialogsAllowList, KeywordIsTrimmedAndBlankIsRefused) {
  EXPECT_EQ("example.com", KeywordToAdd("   example.com  ").value());
  EXPECT_EQ("Mixed Case", KeywordToAdd("Mixed Case").value());
  EXPECT_FALSE(KeywordToAdd("").has_value());
  EXPECT_FALSE(KeywordToAdd("     ").has_value());
}

TEST(DialogsAllowList, SortedListRewritesTheWholeFile) {
  std::vector<std::string> items = {"c", "A", "b", "b"};
  std::stable_sort(items.begin(), items.end(), [](auto& a, auto& b) { return LessNoCase(a, b); });
  EXPECT_EQ("4\r\nA\r\nb\r\nb\r\nc\r\n", FormatAllowList(items));
  EXPECT_EQ("0\r\n", FormatAllowList({}));
}

// The editor adds a keyword where the list's own order puts it, and leaves the order of a list
// written by someone else as it is: the helper takes the first matching entry in file order,
// and the editor shows and tests that very order.
TEST(DialogsAllowList, AddedKeywordGoesBeforeTheFirstEntryThatSortsAfterIt) {
  using Entries = std::vector<std::string>;
  EXPECT_EQ(InsertSorted({"b", "c"}, "A"), (Entries{"A", "b", "c"}));
  EXPECT_EQ(InsertSorted({"A", "b", "c"}, "b"), (Entries{"A", "b", "b", "c"})) << "duplicates are kept";
  EXPECT_EQ(InsertSorted({}, "x"), (Entries{"x"}));
  EXPECT_EQ(InsertSorted({"zeta", "alpha"}, "beta"), (Entries{"beta", "zeta", "alpha"}))
      << "an unsorted list keeps its order";
  EXPECT_EQ(InsertSorted({"zeta", "alpha"}, "zz"), (Entries{"zeta", "alpha", "zz"}));
}

TEST(DialogsAllowList, RemoveTakesTheShownEntryEvenWhenTheFileChangedMeanwhile) {
  using Entries = std::vector<std::string>;
  EXPECT_EQ(*RemoveShownEntry({"a", "b", "b", "c"}, 2, "b"), (Entries{"a", "b", "c"}));
  EXPECT_EQ(*RemoveShownEntry({"a", "c"}, 1, "c"), (Entries{"a"}));
  // Another save put an entry in front: the entry of the shown text goes, not the one now there.
  EXPECT_EQ(*RemoveShownEntry({"new", "a", "c"}, 1, "c"), (Entries{"new", "a"}));
  EXPECT_EQ(*RemoveShownEntry({"a"}, 5, "a"), (Entries{}));
  EXPECT_FALSE(RemoveShownEntry({"a", "b"}, 0, "gone")) << "already removed elsewhere";
  EXPECT_FALSE(RemoveShownEntry({}, 0, "a"));
}

TEST(DialogsLists, OrderIgnoresCaseAndPutsPunctuationBeforeLetters) {
  EXPECT_TRUE(LessNoCase("A", "b"));
  EXPECT_TRUE(LessNoCase("a", "B"));
  EXPECT_FALSE(LessNoCase("B", "a"));
  EXPECT_FALSE(LessNoCase("abc", "ABC"));
  EXPECT_FALSE(LessNoCase("ABC", "abc"));
  EXPECT_TRUE(LessNoCase("ab", "abc"));
  EXPECT_TRUE(LessNoCase("a_b", "aab"));
  EXPECT_TRUE(LessNoCase("user@ads", "user@Zone"));
}

TEST(DialogsCookies, NamesComeOncePerOwnerWithoutIndexFiles) {
  std::vector<std::string> files = {"user@site[1].txt", "index.dat",        "user@site[2].txt",
                                    "USER@SITE[3].txt", "INDEX.DAT",        "user@other[1].txt",
                                    "plain.txt",        "[odd].txt",        "ab",
                                    "Indexer[1].txt"};
  std::vector<std::string> expected = {"user@site", "user@other", "plain", "[odd]", "ab"};
  EXPECT_EQ(expected, CookieNamesFromFiles(files));
  EXPECT_TRUE(CookieNamesFromFiles({}).empty());
}

TEST(DialogsCookies, KeptNamesComeFirstCheckedThenTheOthers) {
  std::vector<CookieItem> list =
      BuildCookieList({"zeta", "Alpha", "mike", "beta", "Yankee"}, "#MIKE##yankee#");
  ASSERT_EQ(5u, list.size());
  const char* names[] = {"mike", "Yankee", "Alpha", "beta", "zeta"};
  const bool checked[] = {true, true, false, false, false};
  for (size_t i = 0; i < list.size(); ++i) {
    EXPECT_EQ(names[i], list[i].name) << i;
    EXPECT_EQ(checked[i], list[i].checked) << i;
  }
}

TEST(DialogsCookies, KeepTextNeedsTheWholeFramedName) {
  std::vector<CookieItem> list = BuildCookieList({"site", "othersite", "sit"}, "#othersite#");
  ASSERT_EQ(3u, list.size());
  EXPECT_EQ("othersite", list[0].name);
  EXPECT_TRUE(list[0].checked);
  EXPECT_FALSE(list[1].checked);
  EXPECT_FALSE(list[2].checked);
  for (const CookieItem& item : BuildCookieList({"a", "b"}, "")) EXPECT_FALSE(item.checked);
}

TEST(DialogsCookies, KeepFileHoldsTheCheckedNamesOnOneLine) {
  std::vector<CookieItem> items = {{"a@one", true}, {"b@two", true}, {"c@three", false}};
  EXPECT_EQ("#a@one##b@two#\r\n", KeepListFileText(items));
  EXPECT_EQ("\r\n", KeepListFileText({{"x", false}}));
  EXPECT_EQ("\r\n", KeepListFileText({}));
}

TEST(DialogsCookies, CleanQuestionCountsTheUncheckedSites) {
  EXPECT_EQ("The cookies of 2 sites will be deleted; the checked sites keep theirs. Clean now?",
            CleanQuestion({{"a", true}, {"b", false}, {"c", false}}));
  EXPECT_EQ("The cookies of 1 site will be deleted; the checked sites keep theirs. Clean now?",
            CleanQuestion({{"a", false}, {"b", true}}));
  EXPECT_EQ("Every site in the list is checked, so no listed site's cookies will be deleted. Clean now?",
            CleanQuestion({{"a", true}}));
  EXPECT_EQ(CleanQuestion({}), CleanQuestion({{"a", true}})) << "an empty list deletes no listed site's cookies";
}

TEST(DialogsCookies, EmptyListNamesTheFolderOrSaysThereIsNone) {
  EXPECT_EQ("No cookies found in C:\\WINDOWS\\COOKIES.", NoCookiesText("C:\\WINDOWS\\COOKIES"));
  for (const char* unknown : {"NO", "No", ""})
    EXPECT_EQ("No cookies found: Windows names no cookie folder for this account.", NoCookiesText(unknown)) << unknown;
}

}  // namespace
}  // namespace vexbane::dialogs
