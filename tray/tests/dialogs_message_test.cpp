// frmMessage through its real window: button sets, answers, the 50-character rule, placement, chrome.
#include <gtest/gtest.h>

#include "dialogs_helpers.h"
#include "frmMessage.h"

namespace vexbane::tray {
namespace {

using testing::MessageBoxAnswerer;
using testing::SeenMessageBox;

// Shows the box over no owner at (1500, 1500) twips and presses `pressId`.
SeenMessageBox ShowAndPress(const std::string& buttons, const std::string& text, int pressId) {
  MessageVariables& vars = MsgVars();
  vars.lngMsgLeft = 1500;
  vars.lngMsgTop = 1500;
  vars.strMsgTitle = "Title here";
  vars.strMsgText = text;
  vars.strMsgButtons = buttons;
  MessageBoxAnswerer answerer(pressId);
  frmMessage::ShowModal(nullptr);
  SeenMessageBox seen = answerer.Seen();
  EXPECT_EQ(nullptr, testing::FindOwnWindow(frmMessage::kClassName)) << "the box unloads with its button";
  return seen;
}

TEST(DialogsMessageBox, ButtonSetsShowTheirCaptionsAndAnswerWithThePressedCaption) {
  struct Case {
    const char* set;
    int press;
    const char* yes;
    const char* no;
    bool noVisible;
    const char* answer;
  } cases[] = {
      {"Ok", frmMessage::cmdYes, "Ok", "No", false, "Ok"},
      {"YesNo", frmMessage::cmdYes, "Yes", "No", true, "Yes"},
      {"YesNo", frmMessage::cmdNo, "Yes", "No", true, "No"},
      {"NoYes", frmMessage::cmdYes, "No", "Yes", true, "No"},  // the left button says No
      {"NoYes", frmMessage::cmdNo, "No", "Yes", true, "Yes"},
      {"ok", frmMessage::cmdYes, "Yes", "No", true, "Yes"},    // letter case counts
      {"OK", frmMessage::cmdNo, "Yes", "No", true, "No"},
  };
  for (const Case& c : cases) {
    MsgVars().strMsgAnswer = "unset";
    SeenMessageBox seen = ShowAndPress(c.set, "Short text", c.press);
    ASSERT_TRUE(seen.found) << c.set;
    EXPECT_EQ("Title here", seen.title);
    EXPECT_EQ("Short text", seen.text);
    EXPECT_EQ(c.yes, seen.yesCaption) << c.set;
    EXPECT_EQ(c.no, seen.noCaption) << c.set;
    EXPECT_TRUE(seen.yesVisible) << c.set;
    EXPECT_EQ(c.noVisible, seen.noVisible) << c.set;
    EXPECT_EQ(c.answer, MsgVars().strMsgAnswer) << c.set;
  }
}

TEST(DialogsMessageBox, ClosingOtherwiseKeepsTheEarlierAnswer) {
  MsgVars().strMsgAnswer = "Yes";
  SeenMessageBox seen = ShowAndPress("YesNo", "Esc closes this", 0);
  ASSERT_TRUE(seen.found);
  EXPECT_EQ("Yes", MsgVars().strMsgAnswer);
}

TEST(DialogsMessageBox, MessagesUnderFiftyCharactersSitLower) {
  const int lowered = 59;  // 888 twips at 15 twips a pixel
  const int designed = 48;  // 720 twips
  struct Case {
    size_t length;
    int top;
  } cases[] = {{0, lowered}, {49, lowered}, {50, designed}, {80, designed}, {49, lowered}};
  for (const Case& c : cases) {
    SeenMessageBox seen = ShowAndPress("Ok", std::string(c.length, 'm'), frmMessage::cmdYes);
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(c.top, seen.textRect.top) << c.length << " characters";
  }
}

TEST(DialogsMessageBox, OpensOverItsOwnerAndHoldsItDisabled) {
  HWND owner = ::CreateWindowExA(0, "STATIC", "owner", WS_POPUP | WS_VISIBLE, 100, 60, 400, 250, nullptr, nullptr,
                                 nullptr, nullptr);
  ASSERT_NE(nullptr, owner);
  MessageBoxAnswerer answerer(frmMessage::cmdYes, owner);
  std::string answer = ShowMessageOver(owner, "Remove web site", "Placed", "Ok");
  SeenMessageBox seen = answerer.Seen();
  ASSERT_TRUE(seen.found);
  // Owner (1500, 900) twips, 6000 x 3750: a tenth of the width in, a fifth of the height down.
  EXPECT_EQ(140, seen.window.left);
  EXPECT_EQ(110, seen.window.top);
  EXPECT_EQ(2100, MsgVars().lngMsgLeft);
  EXPECT_EQ(1650, MsgVars().lngMsgTop);
  EXPECT_FALSE(seen.ownerEnabled);
  EXPECT_TRUE(::IsWindowEnabled(owner));
  EXPECT_EQ("Ok", answer);
  ::DestroyWindow(owner);
}

TEST(DialogsMessageBox, FaceIsARoundedRegionCutFromThePicture) {
  MsgVars().lngMsgLeft = 0;
  MsgVars().lngMsgTop = 0;
  MsgVars().strMsgButtons = "Ok";
  MsgVars().strMsgText = "Region";
  struct Measured {
    RECT box{};
    bool sameAsRoundRect = false;
    int type = ERROR;
    DWORD style = 0;
  } measured;
  std::thread watcher([&measured, ui = ::GetCurrentThreadId()] {
    HWND box = nullptr;
    for (int i = 0; i < 500 && !(box && ::IsWindowVisible(box)); ++i) {
      box = testing::FindOwnWindow(frmMessage::kClassName, ui);
      ::Sleep(10);
    }
    if (!box) return;
    HRGN region = ::CreateRectRgn(0, 0, 0, 0);
    if (::GetWindowRgn(box, region) != ERROR) measured.type = ::GetRgnBox(region, &measured.box);
    HRGN expected = ::CreateRoundRectRgn(0, 0, 267, 151, 6, 6);
    measured.sameAsRoundRect = testing::SameArea(region, expected);
    ::DeleteObject(expected);
    ::DeleteObject(region);
    measured.style = static_cast<DWORD>(::GetWindowLongPtrA(box, GWL_STYLE));
    ::PostMessageA(::GetDlgItem(box, frmMessage::cmdYes), BM_CLICK, 0, 0);
  });
  frmMessage::ShowModal(nullptr);
  watcher.join();
  ASSERT_NE(ERROR, measured.type);
  EXPECT_EQ(COMPLEXREGION, measured.type) << "rounded corners";
  EXPECT_TRUE(measured.sameAsRoundRect);
  // A rounded-rectangle region leaves out the last column and row of the rectangle it is given.
  EXPECT_EQ(266, measured.box.right - measured.box.left);
  EXPECT_EQ(150, measured.box.bottom - measured.box.top);
  EXPECT_EQ(0u, measured.style & WS_SYSMENU);
  EXPECT_EQ(0u, measured.style & WS_CAPTION);
}

}  // namespace
}  // namespace vexbane::tray
