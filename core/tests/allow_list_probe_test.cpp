// The allow-list editor's address test: the entry that lets a page through, by the helper's rule.
#include "core/allow_list_probe.h"

#include <gtest/gtest.h>

#include "core/allow_list.h"

namespace vexbane {
namespace {

const std::vector<std::string> kList = {"bank.example", "Shop", "news.example"};

TEST(FindAllowingEntry, NamesTheFirstEntryThatOccursInTheAddress) {
  EXPECT_EQ(FindAllowingEntry(kList, "https://login.BANK.example/sign-in"), "bank.example");
  EXPECT_EQ(FindAllowingEntry(kList, "http://www.myshop.example/news.example"), "Shop");
  EXPECT_FALSE(FindAllowingEntry(kList, "http://ads.example/"));
  EXPECT_FALSE(FindAllowingEntry({}, "http://bank.example/"));
}

TEST(FindAllowingEntry, AgreesWithTheHelpersRuleOnEveryAddress) {
  const std::vector<std::string> list = {"", "  ", "x.example", "EXAMPLE"};
  for (const char* address : {"", "http://x.example", "http://other.example", "about:blank", "Example"}) {
    EXPECT_EQ(FindAllowingEntry(list, address).has_value(), AllowListMatches(list, address)) << address;
  }
}

TEST(AddressTestMessage, SaysWhichEntryOrThatNoneDoes) {
  EXPECT_EQ(AddressTestMessage(kList, " http://news.example/today "),
            "Allowed by the entry \"news.example\".");
  EXPECT_EQ(AddressTestMessage(kList, "http://ads.example/"),
            "Not on the allow list: the blocking level decides.");
}

TEST(AddressTestMessage, AsksForAnAddressWhenTheBoxIsEmpty) {
  EXPECT_EQ(AddressTestMessage(kList, ""), "Type a page address in the box first.");
  EXPECT_EQ(AddressTestMessage(kList, "    "), "Type a page address in the box first.");
}

}  // namespace
}  // namespace vexbane
