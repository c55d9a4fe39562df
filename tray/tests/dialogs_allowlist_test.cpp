// frmPopupAdvanced through its real window: adding, removing, notices, the file it rewrites, its chrome.
#include <gtest/gtest.h>

#include "AllowListFile.h"
#include "ToolWindows.h"
#include "core/allow_list.h"
#include "core/allow_list_probe.h"
#include "dialogs_helpers.h"
#include "frmMessage.h"
#include "frmPopupAdvanced.h"

namespace vexbane::tray {
namespace {

using testing::ListBoxItems;
using testing::Text;

class AllowListEditor : public ::testing::Test {
 protected:
  void TearDown() override {
    UnloadToolWindows();
    EXPECT_FALSE(Module().blnAllowListFormOpen);
  }
  HWND Open() {
    mnuWhiteList_Click(nullptr);
    HWND form = testing::FindOwnWindow(frmPopupAdvanced::kClassName);
    EXPECT_NE(nullptr, form);
    return form;
  }
  std::string File() const { return m_app.folder().Read("WebSite.dat"); }
  void WriteFile(const std::string& text) const { m_app.folder().Write("WebSite.dat", text); }
  static void Type(HWND form, const char* text) {
    ::SendMessageA(::GetDlgItem(form, frmPopupAdvanced::txtWebSite), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
  }
  static std::vector<std::string> Items(HWND form) { return ListBoxItems(::GetDlgItem(form, frmPopupAdvanced::lstURL)); }

  testing::ScopedAppFolder m_app;
};

TEST_F(AllowListEditor, AddStoresTheKeywordWithoutSurroundingSpaces) {
  HWND form = Open();
  EXPECT_EQ("", File()) << "a missing file is created empty";
  Type(form, "   example.com  ");
  testing::Click(form, frmPopupAdvanced::cmdAdd);
  EXPECT_EQ("1\r\nexample.com\r\n", File());
  EXPECT_EQ(std::vector<std::string>{"example.com"}, Items(form));
  EXPECT_EQ("", Text(::GetDlgItem(form, frmPopupAdvanced::txtWebSite)));
  EXPECT_EQ(::GetDlgItem(form, frmPopupAdvanced::txtWebSite), ::GetFocus());
}

TEST_F(AllowListEditor, AddKeepsTheListSortedAndRewritesTheWholeFile) {
  WriteFile("2\r\nb\r\nc\r\n");
  HWND form = Open();
  Type(form, "A");
  testing::Click(form, frmPopupAdvanced::cmdAdd);
  EXPECT_EQ("3\r\nA\r\nb\r\nc\r\n", File());
  EXPECT_EQ((std::vector<std::string>{"A", "b", "c"}), Items(form));
  Type(form, "b");
  testing::Click(form, frmPopupAdvanced::cmdAdd);
  EXPECT_EQ("4\r\nA\r\nb\r\nb\r\nc\r\n", File()) << "duplicates are kept";
}

TEST_F(AllowListEditor, TestNamesTheEntryThatLetsAnAddressThrough) {
  WriteFile("3\r\nbank.example\r\nShop\r\nzoo\r\n");
  HWND form = Open();
  Type(form, "https://login.BANK.example/sign-in");
  testing::Click(form, frmPopupAdvanced::cmdTest);
  EXPECT_EQ("Allowed by the entry \"bank.example\".",
            Text(::GetDlgItem(form, frmPopupAdvanced::lblTest)));
  Type(form, "http://www.myshop.example/");
  testing::Click(form, frmPopupAdvanced::cmdTest);
  EXPECT_EQ("Allowed by the entry \"Shop\".",
            Text(::GetDlgItem(form, frmPopupAdvanced::lblTest)));
  EXPECT_EQ("3\r\nbank.example\r\nShop\r\nzoo\r\n", File()) << "a test changes nothing";
  EXPECT_EQ("http://www.myshop.example/", Text(::GetDlgItem(form, frmPopupAdvanced::txtWebSite)))
      << "the address stays for the next try or for Add";
}

TEST_F(AllowListEditor, TestSaysWhenNoEntryMatchesAndAsksForAnAddressWhenEmpty) {
  WriteFile("1\r\nbank.example\r\n");
  HWND form = Open();
  Type(form, "http://ads.example/pop");
  testing::Click(form, frmPopupAdvanced::cmdTest);
  EXPECT_EQ("Not on the allow list: the blocking level decides.",
            Text(::GetDlgItem(form, frmPopupAdvanced::lblTest)));
  Type(form, "   ");
  testing::Click(form, frmPopupAdvanced::cmdTest);
  EXPECT_EQ("Type a page address in the box first.", Text(::GetDlgItem(form, frmPopupAdvanced::lblTest)));
  // The list the test uses is the one on screen: an entry just added counts at once.
  Type(form, "ads.example");
  testing::Click(form, frmPopupAdvanced::cmdAdd);
  Type(form, "http://ads.example/pop");
  testing::Click(form, frmPopupAdvanced::cmdTest);
  EXPECT_EQ("Allowed by the entry \"ads.example\".",
            Text(::GetDlgItem(form, frmPopupAdvanced::lblTest)));
}

TEST_F(AllowListEditor, RemovingTheLastEntryLeavesACountOfZero) {
  WriteFile("2\r\nkeep\r\ngone\r\n");
  HWND form = Open();
  HWND list = ::GetDlgItem(form, frmPopupAdvanced::lstURL);
  ASSERT_EQ((std::vector<std::string>{"keep", "gone"}), Items(form)) << "in the file's order";
  ::SendMessageA(list, LB_SETCURSEL, 1, 0);
  testing::Click(form, frmPopupAdvanced::cmdRemove);
  EXPECT_EQ("1\r\nkeep\r\n", File());
  ::SendMessageA(list, LB_SETCURSEL, 0, 0);
  testing::Click(form, frmPopupAdvanced::cmdRemove);
  EXPECT_EQ("0\r\n", File());
  EXPECT_TRUE(Items(form).empty());
}

TEST_F(AllowListEditor, BlankAddAndRemoveWithoutSelectionShowTheirNotices) {
  WriteFile("1\r\nsite\r\n");
  HWND form = Open();
  Type(form, "     ");
  testing::MessageBoxAnswerer addNotice(frmMessage::cmdYes, form);
  testing::Click(form, frmPopupAdvanced::cmdAdd);
  const testing::SeenMessageBox& add = addNotice.Seen();
  ASSERT_TRUE(add.found);
  EXPECT_EQ("Add web site", add.title);
  EXPECT_EQ("You shoud type a web site address first.", add.text);
  EXPECT_EQ("Ok", add.yesCaption);
  EXPECT_FALSE(add.noVisible);
  EXPECT_FALSE(add.ownerEnabled) << "modal over the editor";
  EXPECT_EQ("1\r\nsite\r\n", File());
  EXPECT_EQ("", Text(::GetDlgItem(form, frmPopupAdvanced::txtWebSite)));

  testing::MessageBoxAnswerer removeNotice(frmMessage::cmdYes, form);
  testing::Click(form, frmPopupAdvanced::cmdRemove);
  const testing::SeenMessageBox& remove = removeNotice.Seen();
  ASSERT_TRUE(remove.found);
  EXPECT_EQ("Remove web site", remove.title);
  EXPECT_EQ("You should select one item in the list box first!", remove.text);
  EXPECT_EQ("Ok", MsgVars().strMsgAnswer);
  EXPECT_EQ("1\r\nsite\r\n", File());
  EXPECT_TRUE(::IsWindowEnabled(form));
}

TEST_F(AllowListEditor, AFailedWriteShowsWhatTheFileHoldsAndSaysSo) {
  WriteFile("1\r\nkeep\r\n");
  HWND form = Open();
  // Another program holds the list open, sharing it with readers only: no save can replace it.
  HANDLE held = testing::HoldFile(m_app.folder().File("WebSite.dat"), FILE_SHARE_READ);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  Type(form, "lost");
  testing::MessageBoxAnswerer addNotice(frmMessage::cmdYes, form);
  testing::Click(form, frmPopupAdvanced::cmdAdd);
  EXPECT_EQ("Add web site", addNotice.Seen().title);
  EXPECT_EQ("The allow list could not be saved; nothing was added. WebSite.dat is held open by another program; try again once that program has closed it.", addNotice.Seen().text);
  EXPECT_EQ(std::vector<std::string>{"keep"}, Items(form));
  ::SendMessageA(::GetDlgItem(form, frmPopupAdvanced::lstURL), LB_SETCURSEL, 0, 0);
  testing::MessageBoxAnswerer removeNotice(frmMessage::cmdYes, form);
  testing::Click(form, frmPopupAdvanced::cmdRemove);
  EXPECT_EQ("Remove web site", removeNotice.Seen().title);
  EXPECT_EQ("The allow list could not be saved; nothing was removed. WebSite.dat is held open by another program; try again once that program has closed it.", removeNotice.Seen().text);
  EXPECT_EQ(std::vector<std::string>{"keep"}, Items(form));
  ::CloseHandle(held);
  EXPECT_EQ("1\r\nkeep\r\n", File());
}

// A virus scanner or a backup tool holds the list past the read's brief retry while the editor
// opens. The editor says so; an edit made later is made to the list as the file holds it then,
// never to the empty list on screen.
TEST_F(AllowListEditor, AListThatCouldNotBeReadIsNeverSavedOver) {
  WriteFile("2\r\nalpha.example\r\nbeta.example\r\n");
  HANDLE held = testing::HoldFile(m_app.folder().File("WebSite.dat"), 0);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  HWND form = nullptr;
  const testing::SeenMessageBox open = testing::SeenWhileOpening(frmMessage::cmdYes, form, [&] { return Open(); });
  ASSERT_TRUE(open.found) << "the editor says the list could not be read";
  EXPECT_EQ("Allow list", open.title);
  EXPECT_EQ("The allow list could not be read; nothing can be changed until it can. WebSite.dat is held open by another program; try again once that program has closed it.", open.text);
  EXPECT_TRUE(Items(form).empty());

  // Still held: nothing is added, and the user is told.
  Type(form, "gamma.example");
  testing::MessageBoxAnswerer heldNotice(frmMessage::cmdYes, form);
  testing::Click(form, frmPopupAdvanced::cmdAdd);
  EXPECT_EQ("The allow list could not be read; nothing was added. WebSite.dat is held open by another program; try again once that program has closed it.", heldNotice.Seen().text);
  ::CloseHandle(held);
  EXPECT_EQ("2\r\nalpha.example\r\nbeta.example\r\n", File());

  // Let go: the one edit is made to the list the file holds.
  Type(form, "gamma.example");
  testing::Click(form, frmPopupAdvanced::cmdAdd);
  EXPECT_EQ("3\r\nalpha.example\r\nbeta.example\r\ngamma.example\r\n", File());
  EXPECT_EQ((std::vector<std::string>{"alpha.example", "beta.example", "gamma.example"}), Items(form));
}

// "Allow Site" in the Recently Blocked window adds to the file while the editor shows an older
// list: the editor's next edit keeps that entry.
TEST_F(AllowListEditor, AnEditKeepsWhatAnotherWindowAddedMeanwhile) {
  WriteFile("2\r\nalpha.example\r\nzulu.example\r\n");
  HWND form = Open();
  WriteFile("3\r\nalpha.example\r\nnews.example\r\nzulu.example\r\n");
  HWND list = ::GetDlgItem(form, frmPopupAdvanced::lstURL);
  ::SendMessageA(list, LB_SETCURSEL, 1, 0);  // zulu.example, second on screen, third in the file
  testing::Click(form, frmPopupAdvanced::cmdRemove);
  EXPECT_EQ("2\r\nalpha.example\r\nnews.example\r\n", File());
  EXPECT_EQ((std::vector<std::string>{"alpha.example", "news.example"}), Items(form));
}

// The helper takes the first matching entry in the file's order; the list shows that order, so
// "Test" names the entry that decides, whatever order the system's sorted list box would use.
TEST_F(AllowListEditor, TheListShowsTheFilesOrderAndTestNamesTheEntryTheHelperUses) {
  const std::string text = "3\r\nzeta.example\r\nalpha.example\r\nab-c\r\n";
  WriteFile(text);
  HWND form = Open();
  EXPECT_EQ((std::vector<std::string>{"zeta.example", "alpha.example", "ab-c"}), Items(form));
  const char* address = "http://alpha.example/zeta.example/ab-c";
  Type(form, address);
  testing::Click(form, frmPopupAdvanced::cmdTest);
  const auto deciding = FindAllowingEntry(ParseAllowList(text), address);
  ASSERT_TRUE(deciding);
  EXPECT_EQ("zeta.example", *deciding);
  EXPECT_EQ("Allowed by the entry \"" + *deciding + "\".", Text(::GetDlgItem(form, frmPopupAdvanced::lblTest)));
  // An added keyword goes to its sorted place among the others, the rest keep their order.
  Type(form, "beta.example");
  testing::Click(form, frmPopupAdvanced::cmdAdd);
  EXPECT_EQ("4\r\nbeta.example\r\nzeta.example\r\nalpha.example\r\nab-c\r\n", File());
  EXPECT_EQ((std::vector<std::string>{"beta.example", "zeta.example", "alpha.example", "ab-c"}), Items(form));
}

// The writer of the list refuses an entry that would break its lines.
TEST_F(AllowListEditor, AnEntryWithALineBreakIsNeverWritten) {
  WriteFile("1\r\nalpha.example\r\n");
  EXPECT_FALSE(WriteAllowListFile({"alpha.example", "evil.example\r\nhttp"}));
  EXPECT_FALSE(WriteAllowListFile({"tab\t.example"}));
  EXPECT_EQ("1\r\nalpha.example\r\n", File());
  EXPECT_TRUE(WriteAllowListFile({"alpha.example", "beta.example"}));
  EXPECT_EQ("2\r\nalpha.example\r\nbeta.example\r\n", File());
}

// A program path beyond MAX_PATH leaves no program folder: no list is read, written or created
// at the current drive's root.
TEST_F(AllowListEditor, WithoutAnAbsoluteProgramFolderNoListIsTouched) {
  char saved[MAX_PATH] = {};
  ASSERT_NE(::GetCurrentDirectoryA(MAX_PATH, saved), 0u);
  ASSERT_TRUE(::SetCurrentDirectoryA(m_app.folder().path().c_str()));
  const std::string atRoot = m_app.folder().path().substr(0, 3) + "WebSite.dat";  // the current drive's
  ASSERT_EQ(::GetFileAttributesA(atRoot.c_str()), INVALID_FILE_ATTRIBUTES);
  Module().strAppPath = "";
  EXPECT_FALSE(ReadAllowListFile());
  EXPECT_FALSE(WriteAllowListFile({"alpha.example"}));
  Module().strAppPath = m_app.folder().path();
  ::SetCurrentDirectoryA(saved);
  const bool created = ::GetFileAttributesA(atRoot.c_str()) != INVALID_FILE_ATTRIBUTES;
  ::DeleteFileA(atRoot.c_str());
  EXPECT_FALSE(created);
}

TEST_F(AllowListEditor, ReadsOnlyTheEntriesTheFileReallyHolds) {
  WriteFile("5\r\nalpha\r\n   \r\nbeta\r\n");  // count too large, one blank entry
  HWND form = Open();
  EXPECT_EQ((std::vector<std::string>{"alpha", "beta"}), Items(form));
  UnloadToolWindows();
  WriteFile("\xEF\xBB\xBF" "2\r\nx\r\ny\r\n");  // a text editor's byte-order mark on the count
  form = Open();
  EXPECT_EQ((std::vector<std::string>{"x", "y"}), Items(form));
}

TEST_F(AllowListEditor, ChromeTabOrderAndExit) {
  Module().lngFormLeft = 3000;
  Module().lngFormTop = 1500;
  HWND form = Open();
  RECT window = {};
  ::GetWindowRect(form, &window);
  EXPECT_EQ(200, window.left);
  EXPECT_EQ(100, window.top);
  EXPECT_EQ("Vexbane", Text(form));
  EXPECT_TRUE(::GetWindowLongPtrA(form, GWL_STYLE) & WS_SYSMENU);
  HRGN region = ::CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(ERROR, ::GetWindowRgn(form, region));
  HRGN expected = ::CreateRoundRectRgn(0, 0, 425, 269, 6, 6);
  EXPECT_TRUE(testing::SameArea(region, expected)) << "425 x 269 with rounded corners";
  ::DeleteObject(expected);
  ::DeleteObject(region);

  const int order[] = {frmPopupAdvanced::lstURL, frmPopupAdvanced::txtWebSite, frmPopupAdvanced::cmdTest,
                       frmPopupAdvanced::cmdAdd, frmPopupAdvanced::cmdRemove, frmPopupAdvanced::cmdExit,
                       frmPopupAdvanced::lstURL};
  for (size_t i = 0; i + 1 < std::size(order); ++i) {
    EXPECT_EQ(::GetDlgItem(form, order[i + 1]), ::GetNextDlgTabItem(form, ::GetDlgItem(form, order[i]), FALSE))
        << "after control " << order[i];
  }
  // The Tab key reaches the editor through the program's own message loop.
  ::SetForegroundWindow(form);
  testing::Pump(20);
  ::SetFocus(::GetDlgItem(form, frmPopupAdvanced::txtWebSite));
  ::PostMessageA(::GetDlgItem(form, frmPopupAdvanced::txtWebSite), WM_KEYDOWN, VK_TAB, 0);
  testing::Pump(100);
  EXPECT_EQ(::GetDlgItem(form, frmPopupAdvanced::cmdTest), ::GetFocus());

  testing::Click(form, frmPopupAdvanced::cmdExit);
  EXPECT_FALSE(::IsWindow(form));
  EXPECT_FALSE(Module().blnAllowListFormOpen);
}

}  // namespace
}  // namespace vexbane::tray
