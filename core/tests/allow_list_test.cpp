// The allow-list file: what a reader takes from it and what a writer produces.
#include "core/allow_list.h"

#include <gtest/gtest.h>

namespace vexbane {
namespace {

using Entries = std::vector<std::string>;

TEST(ParseAllowList, ReadsTheCountedEntries) {
  EXPECT_EQ(ParseAllowList("3\r\nA\r\nb\r\nc\r\n"), (Entries{"A", "b", "c"}));
  EXPECT_EQ(ParseAllowList("2\nx\ny\n"), (Entries{"x", "y"}));
}

TEST(ParseAllowList, StopsAtTheCountEvenWhenMoreLinesFollow) {
  EXPECT_EQ(ParseAllowList("1\r\nA\r\nB\r\n"), (Entries{"A"}));
}

TEST(ParseAllowList, TakesOnlyLinesActuallyPresent) {
  EXPECT_EQ(ParseAllowList("5\r\nA\r\n"), (Entries{"A"}));
  EXPECT_EQ(ParseAllowList("2\r\nonly"), (Entries{"only"}));
}

TEST(ParseAllowList, EmptyOrZeroOrNegativeMeansNoEntries) {
  EXPECT_TRUE(ParseAllowList("").empty());
  EXPECT_TRUE(ParseAllowList("0\r\n").empty());
  EXPECT_TRUE(ParseAllowList("-3\r\nA\r\n").empty());
}

TEST(ParseAllowList, DropsBlankEntriesThatWouldAllowEveryPage) {
  EXPECT_EQ(ParseAllowList("3\r\n\r\n   \r\nads.example\r\n"), (Entries{"ads.example"}));
}

TEST(ParseAllowList, KeepsEntriesBehindAnUnreadableFirstLine) {
  // A byte-order mark written by a text editor makes the count unreadable.
  EXPECT_EQ(ParseAllowList("\xEF\xBB\xBF" "2\r\nfoo\r\nbar\r\n"), (Entries{"foo", "bar"}));
  EXPECT_EQ(ParseAllowList("garbage\r\nfoo\r\n"), (Entries{"foo"}));
}

TEST(FormatAllowList, WritesCountThenEntriesEachEndedByCrLf) {
  EXPECT_EQ(FormatAllowList({"A", "b", "c"}), "3\r\nA\r\nb\r\nc\r\n");
  EXPECT_EQ(FormatAllowList({}), "0\r\n");
  EXPECT_EQ(FormatAllowList({"x", "x"}), "2\r\nx\r\nx\r\n");
}

TEST(FormatAllowList, RoundTripsThroughTheReader) {
  Entries e{"Example.com", "news", "a b"};
  EXPECT_EQ(ParseAllowList(FormatAllowList(e)), e);
}

// What the writer refuses: an entry holding a line break would become two lines, the count would
// disagree with the lines, every reader would drop the last entry, and the injected line would
// be an entry of its own ("http" lets every page through).
TEST(IsStorableAllowListEntry, RefusesEveryControlCharacter) {
  EXPECT_TRUE(IsStorableAllowListEntry("news.example"));
  EXPECT_TRUE(IsStorableAllowListEntry("a b"));
  EXPECT_TRUE(IsStorableAllowListEntry("caf\xe9\x7f"));
  for (char c = 1; c < 0x20; ++c) EXPECT_FALSE(IsStorableAllowListEntry(std::string("x") + c + "y")) << int(c);
  const Entries injected{"alpha.example", "site.example\r\nhttp"};
  EXPECT_NE(ParseAllowList(FormatAllowList(injected)), injected) << "why the writer must refuse it";
}

TEST(AllowListMatches, IsASubstringTestWithoutRegardToCase) {
  Entries e{"example"};
  EXPECT_TRUE(AllowListMatches(e, "HTTP://WWW.EXAMPLE.COM/"));
  EXPECT_TRUE(AllowListMatches(e, "http://my-example-site.net"));
  EXPECT_FALSE(AllowListMatches(e, "http://exampel.com"));
  EXPECT_FALSE(AllowListMatches({}, "http://example.com"));
  EXPECT_FALSE(AllowListMatches({""}, "http://example.com"));
}

}  // namespace
}  // namespace vexbane
