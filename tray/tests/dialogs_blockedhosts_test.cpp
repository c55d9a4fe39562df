// The list editor over the Blocked Hosts list: opened from the menu, hosts stored as hosts, its
// own file, one tool window at a time, and a list file that cannot be read or written.
#include <gtest/gtest.h>

#include "ToolWindows.h"
#include "dialogs_helpers.h"
#include "frmMessage.h"
#include "frmPopupAdvanced.h"

namespace vexbane::tray {
namespace {

using testing::ListBoxItems;
using testing::Text;

class BlockedHostsEditor : public ::testing::Test {
 protected:
  void TearDown() override {
    UnloadToolWindows();
    EXPECT_FALSE(Module().blnBlockedHostsFormOpen);
  }
  HWND Open() {
    mnuBlockedHosts_Click(nullptr);
    HWND form = testing::FindOwnWindow(frmPopupAdvanced::kBlockedHostsClassName);
    EXPECT_NE(nullptr, form);
    return form;
  }
  std::string File() const { return m_app.folder().Read("BlockedHost.dat"); }
  void WriteFile(const std::string& text) const { m_app.folder().Write("BlockedHost.dat", text); }
  std::string Path() const { return m_app.folder().File("BlockedHost.dat"); }
  static void Type(HWND form, const char* text) {
    ::SendMessageA(::GetDlgItem(form, frmPopupAdvanced::txtWebSite), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
  }
  static std::vector<std::string> Items(HWND form) { return ListBoxItems(::GetDlgItem(form, frmPopupAdvanced::lstURL)); }
  // Types `typed` and presses "Add": the notice that no host was typed, and the file still `kept`.
  void ExpectAddRefused(HWND form, const char* typed, const std::string& kept) const {
    SCOPED_TRACE(typed);
    Type(form, typed);
    testing::MessageBoxAnswerer notice(frmMessage::cmdYes, form);
    testing::Click(form, frmPopupAdvanced::cmdAdd);
    ASSERT_TRUE(notice.Seen().found);
    EXPECT_EQ("Add host", notice.Seen().title);
    EXPECT_EQ("You should type a host first.", notice.Seen().text);
    EXPECT_EQ(kept, File());
  }

  testing::ScopedAppFolder m_app;
};

TEST_F(BlockedHostsEditor, OpensOnItsOwnEmptyFileWithItsOwnLabelsAndNoTest) {
  HWND form = Open();
  EXPECT_TRUE(Module().blnBlockedHostsFormOpen);
  EXPECT_EQ("", File()) << "a missing file is created empty";
  EXPECT_EQ("<missing>", m_app.folder().Read("WebSite.dat")) << "the allow list is not touched";
  EXPECT_EQ("Blocked Hosts:", Text(::GetDlgItem(form, frmPopupAdvanced::Label1)));
  EXPECT_EQ("Host:", Text(::GetDlgItem(form, frmPopupAdvanced::Label2)));
  EXPECT_EQ(nullptr, ::GetDlgItem(form, frmPopupAdvanced::cmdTest));
  EXPECT_TRUE(::GetWindowLongPtrA(form, GWL_STYLE) & WS_SYSMENU) << "the tool windows' shared chrome";
  EXPECT_EQ("Vexbane", Text(::GetDlgItem(form, frmPopupAdvanced::lblTitle1)));
}

TEST_F(BlockedHostsEditor, AddStoresTheHostATypedTextNamesAndRemoveRewritesTheFile) {
  HWND form = Open();
  Type(form, "  HTTP://X.Ads.Example:8080/pop.html ");
  testing::Click(form, frmPopupAdvanced::cmdAdd);
  Type(form, "tracker.example");
  testing::Click(form, frmPopupAdvanced::cmdAdd);
  EXPECT_EQ("2\r\ntracker.example\r\nx.ads.example\r\n", File());
  EXPECT_EQ((std::vector<std::string>{"tracker.example", "x.ads.example"}), Items(form));
  ::SendMessageA(::GetDlgItem(form, frmPopupAdvanced::lstURL), LB_SETCURSEL, 0, 0);
  testing::Click(form, frmPopupAdvanced::cmdRemove);
  EXPECT_EQ("1\r\nx.ads.example\r\n", File());
}

TEST_F(BlockedHostsEditor, TextsThatNameNoHostShowTheNoticeAndChangeNothing) {
  WriteFile("1\r\nkeep.example\r\n");
  HWND form = Open();
  for (const char* typed : {"   ", "about:blank", "bad\thost.example"})
    ASSERT_NO_FATAL_FAILURE(ExpectAddRefused(form, typed, "1\r\nkeep.example\r\n"));
  testing::MessageBoxAnswerer removeNotice(frmMessage::cmdYes, form);
  testing::Click(form, frmPopupAdvanced::cmdRemove);
  ASSERT_TRUE(removeNotice.Seen().found);
  EXPECT_EQ("Remove host", removeNotice.Seen().title);
  EXPECT_EQ("You should select one item in the list box first!", removeNotice.Seen().text);
}

// ".ads.example" and "*.ads.example" were stored as typed and never matched a host: each way of
// writing a host is stored as the host meant, once; a wildcard that names no host is refused.
TEST_F(BlockedHostsEditor, WildcardsDotsPortsAndAddressesAreStoredAsTheHostMeant) {
  HWND form = Open();
  for (const char* typed : {".ads.example", "*.ads.example", "http://ads.example/x", "ads.example:80", "ADS.EXAMPLE."}) {
    SCOPED_TRACE(typed);
    WriteFile("");
    Type(form, typed);
    testing::Click(form, frmPopupAdvanced::cmdAdd);
    EXPECT_EQ("1\r\nads.example\r\n", File());
    EXPECT_EQ(std::vector<std::string>{"ads.example"}, Items(form));
  }
  for (const char* typed : {"*ads.example", "ads.*.example", "*", "."})
    ASSERT_NO_FATAL_FAILURE(ExpectAddRefused(form, typed, "1\r\nads.example\r\n"));
}

TEST_F(BlockedHostsEditor, OneToolWindowAtATimeWithTheAllowListEditor) {
  HWND hosts = Open();
  mnuWhiteList_Click(nullptr);
  EXPECT_FALSE(::IsWindow(hosts));
  EXPECT_FALSE(Module().blnBlockedHostsFormOpen);
  HWND allow = testing::FindOwnWindow(frmPopupAdvanced::kClassName);
  ASSERT_NE(nullptr, allow);
  EXPECT_EQ("Allow List:", Text(::GetDlgItem(allow, frmPopupAdvanced::Label1)));
  hosts = Open();
  EXPECT_FALSE(::IsWindow(allow));
  EXPECT_FALSE(Module().blnAllowListFormOpen);
  mnuBlockedHosts_Click(nullptr);
  EXPECT_EQ(hosts, testing::FindOwnWindow(frmPopupAdvanced::kBlockedHostsClassName)) << "a second command leaves it";
  testing::Click(hosts, frmPopupAdvanced::cmdExit);
  EXPECT_FALSE(::IsWindow(hosts));
  EXPECT_FALSE(Module().blnBlockedHostsFormOpen);
}

TEST_F(BlockedHostsEditor, AHeldOrReadOnlyFileKeepsItsEntries) {
  WriteFile("1\r\nkeep.example\r\n");
  HWND form = Open();
  HANDLE held = testing::HoldFile(Path(), FILE_SHARE_READ);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  Type(form, "lost.example");
  {
    testing::MessageBoxAnswerer notice(frmMessage::cmdYes, form);
    testing::Click(form, frmPopupAdvanced::cmdAdd);
    EXPECT_EQ("The Blocked Hosts list could not be saved; nothing was added. BlockedHost.dat is held open by another program; try again once that program has closed it.", notice.Seen().text);
  }
  ::CloseHandle(held);
  EXPECT_EQ("1\r\nkeep.example\r\n", File());
  EXPECT_EQ(std::vector<std::string>{"keep.example"}, Items(form)) << "the list shows what the file holds";

  // Read-only: whether the system lets the file be replaced or not, no entry is lost and the
  // list shows what the file holds.
  ::SetFileAttributesA(Path().c_str(), FILE_ATTRIBUTE_READONLY);
  Type(form, "new.example");
  {
    // A save refused says so in a box; one let through shows none.
    testing::MessageBoxAnswerer notice(frmMessage::cmdYes, form);
    testing::Click(form, frmPopupAdvanced::cmdAdd);
  }
  ::SetFileAttributesA(Path().c_str(), FILE_ATTRIBUTE_NORMAL);
  const std::string after = File();
  EXPECT_NE(after.find("keep.example\r\n"), std::string::npos) << after;
  EXPECT_EQ(after.find("new.example") != std::string::npos ? "2\r\nkeep.example\r\nnew.example\r\n"
                                                           : "1\r\nkeep.example\r\n",
            after);
  EXPECT_EQ(Items(form).size(), after[0] == '2' ? 2u : 1u);
}

TEST_F(BlockedHostsEditor, AFolderInPlaceOfTheFileIsLeftAlone) {
  ASSERT_TRUE(::CreateDirectoryA(Path().c_str(), nullptr));
  HWND form = nullptr;
  EXPECT_EQ("The Blocked Hosts list could not be read; nothing can be changed until it can."
            " A folder named BlockedHost.dat stands where the file belongs.",
            testing::SeenWhileOpening(frmMessage::cmdYes, form, [&] { return Open(); }).text);
  EXPECT_TRUE(Items(form).empty());
  Type(form, "ads.example");
  {
    testing::MessageBoxAnswerer notice(frmMessage::cmdYes, form);
    testing::Click(form, frmPopupAdvanced::cmdAdd);
    EXPECT_EQ("The Blocked Hosts list could not be read; nothing was added. A folder named BlockedHost.dat stands where the file belongs.", notice.Seen().text);
  }
  EXPECT_NE(::GetFileAttributesA(Path().c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
  ::RemoveDirectoryA(Path().c_str());
}

}  // namespace
}  // namespace vexbane::tray
