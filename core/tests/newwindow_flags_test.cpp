// Which requests are tabs: NewWindow3's flags as IE 7 and 8 set them.
#include "core/newwindow_flags.h"

#include <gtest/gtest.h>

namespace vexbane::newwindow {
namespace {

using blocks::BlockKind;

TEST(KindOfRequest, ATabWhenTheFlagsForceOrSuggestOneElseAWindow) {
  constexpr uint32_t kScriptWindow = 0x0002 | 0x0004;  // NWMF_USERINITED | NWMF_FIRST
  EXPECT_EQ(KindOfRequest(0), BlockKind::NewWindow) << "IE 6 says nothing of tabs";
  EXPECT_EQ(KindOfRequest(kScriptWindow), BlockKind::NewWindow);
  EXPECT_EQ(KindOfRequest(kScriptWindow | kSuggestTab), BlockKind::NewTab);
  EXPECT_EQ(KindOfRequest(kForceTab), BlockKind::NewTab);
  EXPECT_EQ(KindOfRequest(kSuggestTab | kForceWindow), BlockKind::NewWindow) << "a forced window beats a suggestion";
  EXPECT_EQ(KindOfRequest(kForceTab | kForceWindow), BlockKind::NewTab);
  EXPECT_EQ(KindOfRequest(0x40000), BlockKind::NewWindow) << "NWMF_SUGGESTWINDOW";
  EXPECT_EQ(KindOfRequest(0xffffffffu & ~(kForceTab | kSuggestTab)), BlockKind::NewWindow);
}

}  // namespace
}  // namespace vexbane::newwindow
