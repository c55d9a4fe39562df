// Number conversion, trimming and case-insensitive matching as every deliverable uses them.
#include "core/text.h"

#include <gtest/gtest.h>

namespace vexbane {
namespace {

struct Int16Case {
  const char* text;
  bool converts;
  int16_t value;
};

class ToInt16Test : public ::testing::TestWithParam<Int16Case> {};

TEST_P(ToInt16Test, ConvertsOnlyWellFormedNumbersInRange) {
  const Int16Case& c = GetParam();
  auto v = ToInt16(c.text);
  ASSERT_EQ(v.has_value(), c.converts) << '"' << c.text << '"';
  if (c.converts) EXPECT_EQ(*v, c.value);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ToInt16Test,
    ::testing::Values(Int16Case{"2", true, 2}, Int16Case{" 2 ", true, 2}, Int16Case{"-1", true, -1},
                      Int16Case{"+4", true, 4}, Int16Case{"007", true, 7},
                      Int16Case{"32767", true, 32767}, Int16Case{"-32768", true, -32768},
                      Int16Case{"32768", false, 0}, Int16Case{"-32769", false, 0},
                      Int16Case{"99999999999999999999", false, 0}, Int16Case{"", false, 0},
                      Int16Case{"   ", false, 0}, Int16Case{"abc", false, 0},
                      Int16Case{"2a", false, 0}, Int16Case{"1.5", false, 0},
                      Int16Case{"-", false, 0}, Int16Case{"\xEF\xBB\xBF" "3", false, 0},
                      Int16Case{"\t3", false, 0}));

TEST(ToInt32, CoversWindowHandlesAndItsOwnRange) {
  EXPECT_EQ(ToInt32("2147483647").value(), 2147483647);
  EXPECT_EQ(ToInt32("-2147483648").value(), INT32_MIN);
  EXPECT_FALSE(ToInt32("2147483648").has_value());
  EXPECT_EQ(ToInt32(" 65552 ").value(), 65552);
}

TEST(AssignIfConverts, LeavesTheTargetAloneWhenTheTextIsNotANumber) {
  int16_t level = 3;
  AssignIfConverts(level, "abc");
  EXPECT_EQ(level, 3);
  AssignIfConverts(level, "70000");
  EXPECT_EQ(level, 3);
  AssignIfConverts(level, "4");
  EXPECT_EQ(level, 4);
}

TEST(Trim, StripsOnlySpaces) {
  EXPECT_EQ(Trim("  a b  "), "a b");
  EXPECT_EQ(Trim("\ta\t"), "\ta\t");
  EXPECT_EQ(Trim("    "), "");
}

TEST(ContainsNoCase, FindsKeywordsInAddressesInAnyCase) {
  EXPECT_TRUE(ContainsNoCase("http://WWW.Example.com/x", "example.COM"));
  EXPECT_FALSE(ContainsNoCase("http://example.org", "example.com"));
  EXPECT_TRUE(ContainsNoCase("abc", ""));
  EXPECT_FALSE(ContainsNoCase("", "a"));
  EXPECT_TRUE(EqualsNoCase("IEFrame", "IEFRAME"));
  EXPECT_FALSE(EqualsNoCase("IEFrame", "IEFrame2"));
}

TEST(RoundHalfEven, RoundsExactHalvesToTheEvenNeighbour) {
  EXPECT_EQ(RoundHalfEven(266.6), 267);
  EXPECT_EQ(RoundHalfEven(151.4), 151);
  EXPECT_EQ(RoundHalfEven(350.5), 350);
  EXPECT_EQ(RoundHalfEven(351.5), 352);
  EXPECT_EQ(RoundHalfEven(-0.5), 0);
  EXPECT_EQ(RoundHalfEven(-1.5), -2);
  EXPECT_EQ(RoundHalfEven(466.6667), 467);
}

}  // namespace
}  // namespace vexbane
