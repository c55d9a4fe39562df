// Keys in the tool windows and the message box: Enter presses the main button or the one that
// holds the keyboard, Escape closes, Tab follows the layout.
#include <windows.h>

#include <gtest/gtest.h>

#include "ToolWindows.h"
#include "dialogs_helpers.h"
#include "frmMessage.h"
#include "frmPopupAdvanced.h"
#include "frmPopupCookie.h"

namespace vexbane::tray {
namespace {

using testing::PressKey;

class DialogKeys : public ::testing::Test {
 protected:
  void TearDown() override { UnloadToolWindows(); }
  static HWND Find(const char* className) { return testing::FindOwnWindow(className); }
  static void Type(HWND form, const char* text) {
    ::SendMessageA(::GetDlgItem(form, frmPopupAdvanced::txtWebSite), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
  }
  std::string AllowFile() const { return m_app.folder().Read("WebSite.dat"); }
  vexbane::testing::ScopedProductKey m_key;
  testing::ScopedAppFolder m_app;
};

TEST_F(DialogKeys, AllowListTabFollowsTheLayoutWithTestRightAfterTheKeywordBox) {
  mnuWhiteList_Click(nullptr);
  HWND form = Find(frmPopupAdvanced::kClassName);
  ASSERT_NE(form, nullptr);
  const int order[] = {frmPopupAdvanced::lstURL, frmPopupAdvanced::txtWebSite, frmPopupAdvanced::cmdTest,
                       frmPopupAdvanced::cmdAdd,  frmPopupAdvanced::cmdRemove,   frmPopupAdvanced::cmdExit,
                       frmPopupAdvanced::lstURL};
  PressKey(VK_TAB, ::GetDlgItem(form, order[0]));
  for (size_t i = 1; i < std::size(order); ++i) {
    EXPECT_EQ(::GetDlgItem(form, order[i]), ::GetFocus()) << "Tab " << i;
    PressKey(VK_TAB);
  }
}

TEST_F(DialogKeys, AllowListEnterAddsFromTheBoxAndTestsAgainAfterTest) {
  m_app.folder().Write("WebSite.dat", "1\r\nalpha.example\r\n");
  mnuWhiteList_Click(nullptr);
  HWND form = Find(frmPopupAdvanced::kClassName);
  ASSERT_NE(form, nullptr);
  HWND box = ::GetDlgItem(form, frmPopupAdvanced::txtWebSite);
  HWND answer = ::GetDlgItem(form, frmPopupAdvanced::lblTest);
  EXPECT_EQ(::GetWindowLongPtrA(::GetDlgItem(form, frmPopupAdvanced::cmdAdd), GWL_STYLE) & BS_TYPEMASK,
            BS_DEFPUSHBUTTON)
      << "Add looks like the default button";

  // Typed, then Tab to "Test" and Enter: the address is tested, not added.
  Type(form, "http://www.alpha.example/page");
  PressKey(VK_TAB, box);
  ASSERT_EQ(::GetDlgItem(form, frmPopupAdvanced::cmdTest), ::GetFocus());
  PressKey(VK_RETURN);
  const std::string tested = testing::Text(answer);
  EXPECT_NE(tested.find("alpha.example"), std::string::npos) << tested;
  ::SetWindowTextA(answer, "");
  PressKey(VK_RETURN);
  EXPECT_EQ(testing::Text(answer), tested) << "Enter on Test tests again";
  EXPECT_EQ(AllowFile(), "1\r\nalpha.example\r\n") << "nothing added";
  EXPECT_EQ(testing::Text(box), "http://www.alpha.example/page");

  // Enter in the keyword box presses "Add", the window's main button.
  Type(form, "beta.example");
  PressKey(VK_RETURN, box);
  EXPECT_EQ(AllowFile(), "2\r\nalpha.example\r\nbeta.example\r\n");

  PressKey(VK_ESCAPE, box);
  EXPECT_FALSE(::IsWindow(form));
  EXPECT_FALSE(Module().blnAllowListFormOpen);
}

TEST_F(DialogKeys, BlockedHostsEnterAddsTheHostAndEscapeCloses) {
  mnuBlockedHosts_Click(nullptr);
  HWND form = Find(frmPopupAdvanced::kBlockedHostsClassName);
  ASSERT_NE(form, nullptr);
  Type(form, "http://Pop.Ads.Example/x");
  PressKey(VK_RETURN, ::GetDlgItem(form, frmPopupAdvanced::txtWebSite));
  EXPECT_EQ(m_app.folder().Read("BlockedHost.dat"), "1\r\npop.ads.example\r\n");
  PressKey(VK_TAB, ::GetDlgItem(form, frmPopupAdvanced::txtWebSite));
  EXPECT_EQ(::GetDlgItem(form, frmPopupAdvanced::cmdAdd), ::GetFocus());
  PressKey(VK_ESCAPE);
  EXPECT_FALSE(::IsWindow(form));
}

TEST_F(DialogKeys, CookieManagerEnterPressesOkAndTabFollowsTheLayout) {
  mnuCookie_Click(nullptr);
  HWND form = Find(frmPopupCookie::kClassName);
  ASSERT_NE(form, nullptr);
  const int order[] = {frmPopupCookie::lstCookie, frmPopupCookie::chkAutoClean, frmPopupCookie::cmdOk,
                       frmPopupCookie::cmdClean, frmPopupCookie::cmdExit};
  PressKey(VK_TAB, ::GetDlgItem(form, order[0]));
  for (size_t i = 1; i < std::size(order); ++i) {
    EXPECT_EQ(::GetDlgItem(form, order[i]), ::GetFocus()) << "Tab " << i;
    PressKey(VK_TAB);
  }
  m_app.folder().Write("IECookieURL.dat", "#before#\r\n");
  PressKey(VK_RETURN, ::GetDlgItem(form, frmPopupCookie::lstCookie));
  EXPECT_FALSE(::IsWindow(form)) << "Ok saves and closes";
  EXPECT_EQ(m_app.folder().Read("IECookieURL.dat"), "\r\n") << "saved by Ok";
  EXPECT_FALSE(Module().blnCookieFormOpen);

  mnuCookie_Click(nullptr);
  form = Find(frmPopupCookie::kClassName);
  ASSERT_NE(form, nullptr);
  PressKey(VK_ESCAPE, ::GetDlgItem(form, frmPopupCookie::lstCookie));
  EXPECT_FALSE(::IsWindow(form));
}

// Enter presses the box's "Ok" or "Yes", wherever it stands; Tab then Enter the other button.
TEST(DialogKeysMessageBox, EnterPressesOkOrYes) {
  struct Case {
    const char* set;
    int keys;
    const char* answer;
  } cases[] = {
      {"Ok", testing::kPressEnter, "Ok"},
      {"YesNo", testing::kPressEnter, "Yes"},
      {"NoYes", testing::kPressEnter, "Yes"},  // "Yes" is the right-hand button there
      {"YesNo", testing::kPressTabThenEnter, "No"},
      {"NoYes", testing::kPressTabThenEnter, "No"},
  };
  for (const Case& c : cases) {
    MessageVariables& vars = MsgVars();
    vars.lngMsgLeft = 1500;
    vars.lngMsgTop = 1500;
    vars.strMsgTitle = "Keys";
    vars.strMsgText = "Enter";
    vars.strMsgButtons = c.set;
    vars.strMsgAnswer = "unset";
    testing::MessageBoxAnswerer answerer(c.keys);
    frmMessage::ShowModal(nullptr);
    ASSERT_TRUE(answerer.Seen().found) << c.set;
    if (c.keys == testing::kPressTabThenEnter)
      EXPECT_EQ(answerer.Seen().focusBeforeKeys, std::string(c.set) == "NoYes" ? frmMessage::cmdNo : frmMessage::cmdYes)
          << c.set << ": the keyboard starts on Ok or Yes";
    EXPECT_EQ(vars.strMsgAnswer, c.answer) << c.set << (c.keys == testing::kPressEnter ? " Enter" : " Tab, Enter");
    EXPECT_EQ(nullptr, testing::FindOwnWindow(frmMessage::kClassName)) << "closed by the key";
  }
}

}  // namespace
}  // namespace vexbane::tray
