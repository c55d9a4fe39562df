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


TEST(WordOfFlags, TheUsersFlagsWinOverThePageClosing) {
  constexpr uint32_t kScriptWindow = 0x0002 | 0x0004;
  EXPECT_EQ(WordOfFlags(0), BrowserWord::None) << "IE 6 before SP2 and NewWindow2 say nothing";
  EXPECT_EQ(WordOfFlags(kScriptWindow), BrowserWord::None) << "NWMF_USERINITED is set for script windows too";
  EXPECT_EQ(WordOfFlags(kScriptWindow | kSuggestTab), BrowserWord::None);
  EXPECT_EQ(WordOfFlags(kUserRequested), BrowserWord::UserAsked) << "Shift+click, Open in New Window";
  EXPECT_EQ(WordOfFlags(kUserAllowed | kScriptWindow), BrowserWord::UserAsked) << "the information bar";
  EXPECT_EQ(WordOfFlags(kUnloading | kScriptWindow), BrowserWord::PageClosing);
  EXPECT_EQ(WordOfFlags(kUnloading | kUserRequested), BrowserWord::UserAsked);
  EXPECT_EQ(WordOfFlags(0x40), BrowserWord::None) << "NWMF_HTMLDIALOG is no word of the user's";
}

}  // namespace
}  // namespace vexbane::newwindow
