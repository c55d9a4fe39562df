// The dialogs' chrome at the window-message level: which presses move a window, for every mouse button.
#include <windows.h>

#include <gtest/gtest.h>

#include "ToolWindows.h"
#include "dialogs_helpers.h"
#include "frmPopupAdvanced.h"
#include "frmPopupCookie.h"
#include "win/subclass.h"

namespace vexbane::tray {
namespace {

// Counts the title-bar presses that reach the form and keeps the system's move loop out of
// the test (it would wait for the real mouse).
int g_captionPresses = 0;

LRESULT CALLBACK CountCaptionPresses(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCLBUTTONDOWN && wParam == HTCAPTION) {
    ++g_captionPresses;
    return 0;
  }
  return win::CallOriginalProc(window, msg, wParam, lParam);
}

class DialogChrome : public ::testing::Test {
 protected:
  void TearDown() override { UnloadToolWindows(); }
  // Presses `button` on the window at a client point; returns how many moves the form began.
  int Press(HWND form, HWND target, UINT button, int x = 2, int y = 2) {
    g_captionPresses = 0;
    EXPECT_TRUE(win::SubclassWindow(form, &CountCaptionPresses));
    ::SendMessageA(target, button, button == WM_LBUTTONDOWN ? MK_LBUTTON : 0, MAKELPARAM(x, y));
    win::UnsubclassWindow(form);
    return g_captionPresses;
  }
  testing::ScopedAppFolder m_app;
};

TEST_F(DialogChrome, PictureAndTitleMoveTheEditorsWithAnyButton) {
  for (auto open : {&mnuWhiteList_Click, &mnuCookie_Click}) {
    open(nullptr);
    HWND form = testing::FindOwnWindow(frmPopupAdvanced::kClassName);
    if (!form) form = testing::FindOwnWindow(frmPopupCookie::kClassName);
    ASSERT_NE(nullptr, form);
    HWND title = ::GetDlgItem(form, frmPopupAdvanced::lblTitle1);
    HWND shadow = ::GetDlgItem(form, frmPopupAdvanced::lblTitleBack1);
    HWND label = ::GetDlgItem(form, frmPopupAdvanced::Label1);
    for (UINT button : {WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN}) {
      EXPECT_EQ(1, Press(form, title, button)) << button;
      EXPECT_EQ(1, Press(form, form, button, 200, 260)) << "picture, button " << button;
      EXPECT_EQ(0, Press(form, shadow, button)) << button;
      EXPECT_EQ(0, Press(form, label, button)) << button;
    }
    // The client area runs a few pixels past the picture; a press there is not on imgBack.
    EXPECT_EQ(0, Press(form, form, WM_LBUTTONDOWN, 426, 270));
  }
}

}  // namespace
}  // namespace vexbane::tray
