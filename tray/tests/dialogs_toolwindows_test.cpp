// The tray menu's tool-window commands: at most one tool window, a second command for an open one does nothing.
#include <gtest/gtest.h>

#include "ToolWindows.h"
#include "dialogs_helpers.h"
#include "frmPopupAdvanced.h"
#include "frmPopupCookie.h"

namespace vexbane::tray {
namespace {

class ToolWindowCommands : public ::testing::Test {
 protected:
  void TearDown() override { UnloadToolWindows(); }
  static HWND Advanced() { return testing::FindOwnWindow(frmPopupAdvanced::kClassName); }
  static HWND Cookie() { return testing::FindOwnWindow(frmPopupCookie::kClassName); }
  testing::ScopedAppFolder m_app;
};

TEST_F(ToolWindowCommands, EachCommandClosesTheOtherWindow) {
  mnuWhiteList_Click(nullptr);
  ASSERT_NE(nullptr, Advanced());
  EXPECT_TRUE(Module().blnAllowListFormOpen);
  mnuCookie_Click(nullptr);
  EXPECT_EQ(nullptr, Advanced());
  EXPECT_NE(nullptr, Cookie());
  EXPECT_FALSE(Module().blnAllowListFormOpen);
  EXPECT_TRUE(Module().blnCookieFormOpen);
  mnuWhiteList_Click(nullptr);
  EXPECT_EQ(nullptr, Cookie());
  EXPECT_NE(nullptr, Advanced());
  EXPECT_TRUE(Module().blnAllowListFormOpen);
  EXPECT_FALSE(Module().blnCookieFormOpen);
}

TEST_F(ToolWindowCommands, ASecondCommandForAnOpenWindowDoesNothing) {
  mnuCookie_Click(nullptr);
  HWND first = Cookie();
  ASSERT_NE(nullptr, first);
  HWND other = ::CreateWindowExA(0, "STATIC", "other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                                 nullptr, nullptr);
  ::SetWindowPos(other, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  HWND aboveBefore = ::GetWindow(first, GW_HWNDPREV);
  mnuCookie_Click(nullptr);
  EXPECT_EQ(first, Cookie()) << "the same window, not a second one";
  EXPECT_TRUE(::IsWindow(first));
  EXPECT_EQ(aboveBefore, ::GetWindow(first, GW_HWNDPREV)) << "not brought to the front";
  ::DestroyWindow(other);
}

TEST_F(ToolWindowCommands, ExitThenTheCommandAgainOpensAFreshEditor) {
  m_app.folder().Write("WebSite.dat", "1\r\nfirst\r\n");
  mnuWhiteList_Click(nullptr);
  HWND form = Advanced();
  ASSERT_NE(nullptr, form);
  testing::Click(form, frmPopupAdvanced::cmdExit);
  EXPECT_FALSE(Module().blnAllowListFormOpen);
  m_app.folder().Write("WebSite.dat", "2\r\nfirst\r\nsecond\r\n");
  mnuWhiteList_Click(nullptr);
  form = Advanced();
  ASSERT_NE(nullptr, form);
  EXPECT_EQ((std::vector<std::string>{"first", "second"}),
            testing::ListBoxItems(::GetDlgItem(form, frmPopupAdvanced::lstURL)));
}

TEST_F(ToolWindowCommands, UnloadClosesWhicheverIsOpen) {
  mnuCookie_Click(nullptr);
  ASSERT_NE(nullptr, Cookie());
  UnloadToolWindows();
  EXPECT_EQ(nullptr, Cookie());
  EXPECT_FALSE(Module().blnCookieFormOpen);
  mnuWhiteList_Click(nullptr);
  EXPECT_NE(nullptr, Advanced());
}

}  // namespace
}  // namespace vexbane::tray
