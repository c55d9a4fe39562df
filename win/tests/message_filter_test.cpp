// The helper's signals let in from lower integrity: the call is found under its real name.
#include "win/message_filter.h"

#include <gtest/gtest.h>

namespace vexbane::win {
namespace {

// Wine's user32 exports ChangeWindowMessageFilter whatever version it plays (and drops no
// message); a misspelt name would let nothing in on Vista and 7 without a word.
TEST(MessageFilter, EveryMessageAskedForIsLetInWhereUser32HasTheCall) {
  const UINT messages[] = {BM_CLICK, WM_COPYDATA};
  ASSERT_NE(::GetProcAddress(::GetModuleHandleA("user32.dll"), "ChangeWindowMessageFilter"), nullptr);
  EXPECT_EQ(AllowMessagesFromLowerIntegrity(messages, 2), 2u);
  EXPECT_EQ(AllowMessagesFromLowerIntegrity(messages, 0), 0u);
}

}  // namespace
}  // namespace vexbane::win
