// The compiled allow list answers exactly as the plain keyword search, whatever the list.
#include "core/allow_list_matcher.h"

#include <gtest/gtest.h>

#include <random>

#include "core/allow_list.h"
#include "core/text.h"

namespace vexbane {
namespace {

using Entries = std::vector<std::string>;

// The rule as it reads: the first entry in the list's order that occurs in the address.
size_t FirstByScan(const Entries& entries, std::string_view url) {
  for (size_t i = 0; i < entries.size(); ++i)
    if (!Trim(entries[i]).empty() && ContainsNoCase(url, entries[i])) return i;
  return AllowListMatcher::kNoMatch;
}

TEST(AllowListMatcher, KeywordAnywhereInAnyLetterCase) {
  AllowListMatcher m({"news", "Example.COM"});
  EXPECT_EQ(m.FirstMatch("HTTP://WWW.EXAMPLE.COM/page"), 1u);
  EXPECT_EQ(m.FirstMatch("http://my.NEWS.site/"), 0u);
  EXPECT_EQ(m.FirstMatch("http://exampel.com/"), AllowListMatcher::kNoMatch);
  EXPECT_EQ(m.FirstMatch(""), AllowListMatcher::kNoMatch);
  EXPECT_EQ(m.entries(), (Entries{"news", "Example.COM"}));
}

TEST(AllowListMatcher, NothingIsAllowedByAnEmptyListOrByBlankEntries) {
  EXPECT_FALSE(AllowListMatcher().Matches("http://example.com/"));
  EXPECT_FALSE(AllowListMatcher(Entries{}).Matches("http://example.com/"));
  AllowListMatcher blanks({"", "   ", "x y"});
  EXPECT_FALSE(blanks.Matches("http://example.com/"));
  EXPECT_FALSE(blanks.Matches("   "));
  EXPECT_EQ(blanks.FirstMatch("http://x y/"), 2u);
}

TEST(AllowListMatcher, ReportsTheFirstEntryOfTheListNotTheFirstInTheAddress) {
  // Keywords that overlap, end inside one another and share prefixes: the failure links must
  // carry every keyword that ends where a longer one is being followed.
  AllowListMatcher m({"hers", "his", "she", "he", "he"});
  EXPECT_EQ(m.FirstMatch("ushers"), 0u);
  EXPECT_EQ(m.FirstMatch("ushe"), 2u);
  EXPECT_EQ(m.FirstMatch("uh-he"), 3u) << "the first of two equal entries";
  EXPECT_EQ(m.FirstMatch("this"), 1u);
  EXPECT_EQ(m.FirstMatch("h-i-s"), AllowListMatcher::kNoMatch);
}

TEST(AllowListMatcher, OnlyAsciiLettersAreFoldedAndSpacesInsideEntriesCount) {
  AllowListMatcher m({"caf\xE9", " ads "});
  EXPECT_TRUE(m.Matches("http://CAF\xE9.example/"));
  EXPECT_FALSE(m.Matches("http://caf\xC9.example/")) << "bytes above ASCII compare as they are";
  EXPECT_TRUE(m.Matches("see ADS here"));
  EXPECT_FALSE(m.Matches("http://ads.example/"));
}

TEST(AllowListMatcher, AgreesWithThePlainSearchOnRandomListsAndAddresses) {
  std::mt19937 random(20240611);
  const std::string alphabet = "abAB.c/ \xE9-";
  auto text = [&](int maxLength) {
    std::string s(random() % (maxLength + 1), ' ');
    for (char& c : s) c = alphabet[random() % alphabet.size()];
    return s;
  };
  for (int round = 0; round < 300; ++round) {
    Entries entries;
    const int count = static_cast<int>(random() % 40);
    for (int i = 0; i < count; ++i) entries.push_back(text(6));
    AllowListMatcher m(entries);
    for (int probe = 0; probe < 40; ++probe) {
      const std::string url = text(30);
      ASSERT_EQ(m.FirstMatch(url), FirstByScan(entries, url)) << "address [" << url << "] round " << round;
      ASSERT_EQ(m.Matches(url), AllowListMatches(entries, url));
    }
  }
}

TEST(AllowListMatcher, LargeListsMatchTheirLastAndOnlyTheirEntries) {
  Entries entries;
  for (int i = 0; i < 10000; ++i) entries.push_back("site" + std::to_string(i) + ".example");
  AllowListMatcher m(entries);
  EXPECT_EQ(m.FirstMatch("http://www.SITE9999.example/"), 9999u);
  EXPECT_EQ(m.FirstMatch("http://site12.example.site9.example/"), 9u);
  EXPECT_EQ(m.FirstMatch("http://site10000.example/"), AllowListMatcher::kNoMatch);
  EXPECT_EQ(m.FirstMatch("http://www.unlisted-host.example.org/"), AllowListMatcher::kNoMatch);
}

}  // namespace
}  // namespace vexbane
