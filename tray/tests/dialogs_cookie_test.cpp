// frmPopupCookie through its real window: names from the cookie folder, kept names, Ok, Exit, Clean.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>
#include <oleauto.h>

#include "CRegistry.h"
#include "ToolWindows.h"
#include "core/product_ids.h"
#include "core/settings.h"
#include "dialogs_helpers.h"
#include "frmMessage.h"
#include "frmPopupCookie.h"
#include "win/guid.h"

namespace vexbane::tray {
namespace {

using vexbane::testing::ScopedFolder;
using vexbane::testing::ScopedProductKey;

struct Item {
  std::string name;
  bool checked;
  bool operator==(const Item& o) const { return name == o.name && checked == o.checked; }
};
std::ostream& operator<<(std::ostream& out, const Item& item) { return out << item.name << (item.checked ? "+" : "-"); }

// A stand-in for the cookie-cleaning component, registered in this process only: it records
// the code string and the keep list as they stood during the call, and removes one cookie file.
struct CleanerRecord {
  std::wstring code;
  std::string keepListDuringCall;
  int calls = 0;
  std::string fileToDelete;
  std::string keepListPath;
};

class FakeCleaner final : public IDispatch {
 public:
  explicit FakeCleaner(CleanerRecord& record) : m_record(record) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == win::ToGuid(ids::kIidCookieCleaner)) {
      *out = this;
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++m_refs; }
  ULONG STDMETHODCALLTYPE Release() override { return --m_refs; }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }
  // The component's first own method.
  virtual HRESULT STDMETHODCALLTYPE Clean(BSTR code) {
    ++m_record.calls;
    m_record.code = code ? code : L"";
    char buffer[256] = {};
    HANDLE f = ::CreateFileA(m_record.keepListPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                             nullptr);
    DWORD got = 0;
    if (f != INVALID_HANDLE_VALUE) {
      ::ReadFile(f, buffer, sizeof buffer - 1, &got, nullptr);
      ::CloseHandle(f);
    }
    m_record.keepListDuringCall.assign(buffer, got);
    ::DeleteFileA(m_record.fileToDelete.c_str());
    return S_OK;
  }
  ULONG refs() const { return m_refs; }

 private:
  CleanerRecord& m_record;
  ULONG m_refs = 1;
};

class FakeCleanerFactory final : public IClassFactory {
 public:
  explicit FakeCleanerFactory(FakeCleaner& cleaner) : m_cleaner(cleaner) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (iid == IID_IUnknown || iid == IID_IClassFactory) {
      *out = this;
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
    if (outer) return CLASS_E_NOAGGREGATION;
    return m_cleaner.QueryInterface(iid, out);
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

 private:
  FakeCleaner& m_cleaner;
};

// The stand-in registered as the component's class object for this thread, COM started first;
// the test revokes it and ends COM where its steps need.
struct RegisteredCleaner {
  CleanerRecord record;
  FakeCleaner cleaner{record};
  FakeCleanerFactory factory{cleaner};
  DWORD cookie = 0;

  void Register(const std::string& fileToDelete, const std::string& keepListPath) {
    record.fileToDelete = fileToDelete;
    record.keepListPath = keepListPath;
    ASSERT_HRESULT_SUCCEEDED(::CoInitialize(nullptr));
    ASSERT_HRESULT_SUCCEEDED(::CoRegisterClassObject(win::ToGuid(ids::kClsidCookieCleaner), &factory,
                                                     CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie));
  }
  void Revoke() const { ::CoRevokeClassObject(cookie); }
};

class CookieManager : public ::testing::Test {
 protected:
  void SetUp() override {
    m_hadCookiesValue = vexbane::testing::ReadRawString(HKEY_CURRENT_USER, settings::kShellFoldersKeyPath,
                                                        settings::kCookies, m_savedCookiesValue);
    vexbane::testing::WriteRawString(HKEY_CURRENT_USER, settings::kShellFoldersKeyPath, settings::kCookies,
                                     m_cookies.path());
  }
  void TearDown() override {
    UnloadToolWindows();
    EXPECT_FALSE(Module().blnCookieFormOpen);
    if (m_hadCookiesValue)
      vexbane::testing::WriteRawString(HKEY_CURRENT_USER, settings::kShellFoldersKeyPath, settings::kCookies,
                                       m_savedCookiesValue);
    else
      vexbane::testing::DeleteValue(HKEY_CURRENT_USER, settings::kShellFoldersKeyPath, settings::kCookies);
  }
  HWND Open() {
    mnuCookie_Click(nullptr);
    HWND form = testing::FindOwnWindow(frmPopupCookie::kClassName);
    EXPECT_NE(nullptr, form);
    return form;
  }
  static std::vector<Item> Items(HWND form) {
    HWND list = ::GetDlgItem(form, frmPopupCookie::lstCookie);
    std::vector<Item> items;
    int count = static_cast<int>(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
      char text[256] = {};
      LVITEMA item = {};
      item.pszText = text;
      item.cchTextMax = sizeof text;
      ::SendMessageA(list, LVM_GETITEMTEXTA, i, reinterpret_cast<LPARAM>(&item));
      UINT state = static_cast<UINT>(::SendMessageA(list, LVM_GETITEMSTATE, i, LVIS_STATEIMAGEMASK));
      items.push_back({text, (state & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2)});
    }
    return items;
  }
  static void SetCheck(HWND form, int index, bool checked) {
    LVITEMA item = {};
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
    ::SendMessageA(::GetDlgItem(form, frmPopupCookie::lstCookie), LVM_SETITEMSTATE, index,
                   reinterpret_cast<LPARAM>(&item));
  }
  static bool AutoCleanChecked(HWND form) {
    return ::SendMessageA(::GetDlgItem(form, frmPopupCookie::chkAutoClean), BM_GETCHECK, 0, 0) == BST_CHECKED;
  }
  void AddCookies() const {
    for (const char* name : {"user@site[1].txt", "user@site[2].txt", "index.dat", "user@other[1].txt",
                             "user@Alpha[1].txt"})
      m_cookies.Write(name, "cookie");
  }
  std::string KeepFile() const { return m_app.folder().Read("IECookieURL.dat"); }
  // The cookie folder as the manager reads it from the registry (the reader's letter case).
  static std::string CookieFolderAsRead() { return CRegistry().GetRegPathShellFolder(settings::kCookies); }

  ScopedProductKey m_key;
  testing::ScopedAppFolder m_app;
  ScopedFolder m_cookies{"VexbaneDialogsCookies"};
  bool m_hadCookiesValue = false;
  std::string m_savedCookiesValue;
};

TEST_F(CookieManager, ListsOneNamePerOwnerWithoutTheIndexFile) {
  AddCookies();
  HWND form = Open();
  EXPECT_EQ((std::vector<Item>{{"user@Alpha", false}, {"user@other", false}, {"user@site", false}}), Items(form));
  EXPECT_EQ("", KeepFile()) << "a missing keep list is created empty";
  EXPECT_TRUE(AutoCleanChecked(form)) << "a missing AutoClean reads 1";
  EXPECT_TRUE(::GetWindowLongPtrA(form, GWL_STYLE) & WS_SYSMENU);
}

TEST_F(CookieManager, KeptNamesComeFirstAndCheckedInAnyLetterCase) {
  AddCookies();
  m_app.folder().Write("IECookieURL.dat", "#USER@SITE##user@alpha#\r\n");
  m_key.Set("AutoClean", "0");
  HWND form = Open();
  EXPECT_EQ((std::vector<Item>{{"user@Alpha", true}, {"user@site", true}, {"user@other", false}}), Items(form));
  EXPECT_FALSE(AutoCleanChecked(form));
}

TEST_F(CookieManager, OkSavesTheCheckedNamesAndAutoCleanThenCloses) {
  AddCookies();
  HWND form = Open();
  SetCheck(form, 0, true);  // user@Alpha
  SetCheck(form, 2, true);  // user@site
  ::SendMessageA(::GetDlgItem(form, frmPopupCookie::chkAutoClean), BM_SETCHECK, BST_UNCHECKED, 0);
  testing::Click(form, frmPopupCookie::cmdOk);
  EXPECT_EQ("#user@Alpha##user@site#\r\n", KeepFile());
  EXPECT_EQ("0", m_key.Get("AutoClean"));
  EXPECT_FALSE(::IsWindow(form));
  EXPECT_FALSE(Module().blnCookieFormOpen);

  form = Open();
  EXPECT_EQ((std::vector<Item>{{"user@Alpha", true}, {"user@site", true}, {"user@other", false}}), Items(form));
  SetCheck(form, 0, false);
  SetCheck(form, 1, false);
  testing::Click(form, frmPopupCookie::cmdOk);
  EXPECT_EQ("\r\n", KeepFile()) << "nothing checked: one empty line";
}

TEST_F(CookieManager, ExitDropsTheChanges) {
  AddCookies();
  m_app.folder().Write("IECookieURL.dat", "#user@other#\r\n");
  m_key.Set("AutoClean", "1");
  HWND form = Open();
  SetCheck(form, 0, false);
  SetCheck(form, 1, true);
  ::SendMessageA(::GetDlgItem(form, frmPopupCookie::chkAutoClean), BM_SETCHECK, BST_UNCHECKED, 0);
  testing::Click(form, frmPopupCookie::cmdExit);
  EXPECT_FALSE(::IsWindow(form));
  EXPECT_EQ("#user@other#\r\n", KeepFile());
  EXPECT_EQ("1", m_key.Get("AutoClean"));
}

TEST_F(CookieManager, CleanSavesFirstRunsTheCleanerAndRebuildsTheList) {
  AddCookies();
  RegisteredCleaner stand;
  ASSERT_NO_FATAL_FAILURE(stand.Register(m_cookies.File("user@other[1].txt"), m_app.folder().File("IECookieURL.dat")));
  HWND form = Open();
  SetCheck(form, 2, true);  // user@site
  ::SendMessageA(::GetDlgItem(form, frmPopupCookie::chkAutoClean), BM_SETCHECK, BST_UNCHECKED, 0);
  testing::MessageBoxAnswerer question(frmMessage::cmdYes, form);
  testing::Click(form, frmPopupCookie::cmdClean);
  stand.Revoke();

  const testing::SeenMessageBox& asked = question.Seen();
  ASSERT_TRUE(asked.found) << "Clean asks first, in the program's own message box";
  EXPECT_EQ("Clean cookies", asked.title);
  EXPECT_EQ("The cookies of 2 sites will be deleted; the checked sites keep theirs. Clean now?", asked.text)
      << "user@Alpha and user@other go";
  EXPECT_EQ("Yes", asked.yesCaption);
  EXPECT_EQ("No", asked.noCaption);
  EXPECT_TRUE(asked.noVisible);
  EXPECT_FALSE(asked.ownerEnabled) << "modal over the manager";
  EXPECT_EQ(1, stand.record.calls);
  EXPECT_EQ(L"VEXBANECLN", stand.record.code);
  EXPECT_EQ("#user@site#\r\n", stand.record.keepListDuringCall) << "the keep list is written before the call";
  EXPECT_EQ(1u, stand.cleaner.refs()) << "the component is released";
  EXPECT_EQ("0", m_key.Get("AutoClean"));
  EXPECT_TRUE(::IsWindow(form)) << "Clean leaves the manager open";
  EXPECT_EQ((std::vector<Item>{{"user@site", true}, {"user@Alpha", false}}), Items(form));
  EXPECT_FALSE(AutoCleanChecked(form));
  ::CoUninitialize();
}

TEST_F(CookieManager, CleanWithoutTheComponentStillSavesAndRebuilds) {
  AddCookies();
  HWND form = Open();
  SetCheck(form, 1, true);  // user@other
  testing::MessageBoxAnswerer question(frmMessage::cmdYes, form);
  testing::Click(form, frmPopupCookie::cmdClean);
  EXPECT_TRUE(question.Seen().found);
  EXPECT_EQ("#user@other#\r\n", KeepFile());
  EXPECT_EQ("1", m_key.Get("AutoClean"));
  EXPECT_EQ((std::vector<Item>{{"user@other", true}, {"user@Alpha", false}, {"user@site", false}}), Items(form));
}

TEST_F(CookieManager, AFailedKeepListWriteShowsWhatTheFileHolds) {
  AddCookies();
  m_app.folder().Write("IECookieURL.dat", "#user@site#\r\n");
  HWND form = Open();
  // Another program holds the list open, sharing it with readers only: no save can replace it.
  HANDLE held = testing::HoldFile(m_app.folder().File("IECookieURL.dat"), FILE_SHARE_READ);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  SetCheck(form, 0, false);  // user@site
  SetCheck(form, 1, true);   // user@Alpha
  testing::MessageBoxSequenceAnswerer boxes({frmMessage::cmdYes, frmMessage::cmdYes}, form);
  testing::Click(form, frmPopupCookie::cmdClean);
  ASSERT_EQ(2u, boxes.Seen().size()) << "the question, then the notice";
  ::CloseHandle(held);
  EXPECT_EQ("#user@site#\r\n", KeepFile());
  EXPECT_EQ((std::vector<Item>{{"user@site", true}, {"user@Alpha", false}, {"user@other", false}}), Items(form));
}

// The keep list is held open by another program, so "Clean" cannot save it: the cookies the user
// has just ticked must not be cleaned on the strength of the old list.
TEST_F(CookieManager, CleanAfterAFailedKeepListSaveCleansNothingAndSaysSo) {
  AddCookies();
  m_app.folder().Write("IECookieURL.dat", "#user@other#\r\n");
  RegisteredCleaner stand;
  ASSERT_NO_FATAL_FAILURE(stand.Register(m_cookies.File("user@site[1].txt"), m_app.folder().File("IECookieURL.dat")));
  HWND form = Open();
  SetCheck(form, 2, true);  // user@site, newly ticked to keep
  // Readers may share it; nobody may replace or delete it while it is held.
  HANDLE held = testing::HoldFile(m_app.folder().File("IECookieURL.dat"), FILE_SHARE_READ);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);

  testing::MessageBoxSequenceAnswerer boxes({frmMessage::cmdYes, frmMessage::cmdYes}, form);
  testing::Click(form, frmPopupCookie::cmdClean);
  ASSERT_EQ(2u, boxes.Seen().size()) << "the question, then the notice";
  const testing::SeenMessageBox& seen = boxes.Seen()[1];
  ::CloseHandle(held);
  stand.Revoke();

  EXPECT_EQ(0, stand.record.calls) << "nothing is cleaned without the saved keep list";
  EXPECT_TRUE(m_cookies.Read("user@site[1].txt") != "<missing>");
  ASSERT_TRUE(seen.found) << "the user is told, in the program's own message box";
  EXPECT_EQ("Clean cookies", seen.title);
  EXPECT_EQ("The list of cookies to keep could not be saved, so nothing was cleaned."
            " IECookieURL.dat is held open by another program; try again once that program has closed it.", seen.text);
  EXPECT_EQ("Ok", seen.yesCaption);
  EXPECT_FALSE(seen.noVisible);
  EXPECT_FALSE(seen.ownerEnabled) << "modal over the manager";
  EXPECT_EQ("#user@other#\r\n", KeepFile());
  EXPECT_TRUE(::IsWindow(form));
  EXPECT_EQ((std::vector<Item>{{"user@other", true}, {"user@Alpha", false}, {"user@site", false}}), Items(form))
      << "the list shows what the keep list still holds";
  ::CoUninitialize();
}

// Another program holds the keep list past the read's brief retry while the manager opens: the
// check marks then say nothing of what the user kept. Saving them would write an empty keep
// list, and the next clean would delete the cookies the user chose to keep.
TEST_F(CookieManager, AKeepListThatCouldNotBeReadIsNeitherSavedNorCleaned) {
  AddCookies();
  m_app.folder().Write("IECookieURL.dat", "#user@site##user@Alpha#\r\n");
  m_key.Set("AutoClean", "1");
  RegisteredCleaner stand;
  ASSERT_NO_FATAL_FAILURE(stand.Register(m_cookies.File("user@site[1].txt"), m_app.folder().File("IECookieURL.dat")));
  HANDLE held = testing::HoldFile(m_app.folder().File("IECookieURL.dat"), 0);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  HWND form = nullptr;
  const testing::SeenMessageBox open = testing::SeenWhileOpening(frmMessage::cmdYes, form, [&] { return Open(); });
  ASSERT_TRUE(open.found) << "the manager says the keep list could not be read";
  EXPECT_EQ("Keep cookies", open.title);
  EXPECT_EQ("The list of cookies to keep could not be read; nothing can be saved or cleaned until it is."
            " IECookieURL.dat is held open by another program; try again once that program has closed it.",
            open.text);
  EXPECT_EQ((std::vector<Item>{{"user@Alpha", false}, {"user@other", false}, {"user@site", false}}), Items(form));

  testing::MessageBoxAnswerer okNotice(frmMessage::cmdYes, form);
  testing::Click(form, frmPopupCookie::cmdOk);
  EXPECT_EQ("Keep cookies", okNotice.Seen().title);
  EXPECT_EQ("The list of cookies to keep could not be read, so nothing was saved."
            " IECookieURL.dat is held open by another program; try again once that program has closed it.", okNotice.Seen().text);
  EXPECT_TRUE(::IsWindow(form)) << "Exit leaves it";

  testing::MessageBoxAnswerer cleanNotice(frmMessage::cmdYes, form);
  testing::Click(form, frmPopupCookie::cmdClean);
  EXPECT_EQ("Clean cookies", cleanNotice.Seen().title);
  EXPECT_EQ("The list of cookies to keep could not be read, so nothing was cleaned."
            " IECookieURL.dat is held open by another program; try again once that program has closed it.", cleanNotice.Seen().text);
  EXPECT_EQ(0, stand.record.calls) << "nothing is cleaned";
  EXPECT_NE("<missing>", m_cookies.Read("user@site[1].txt"));

  // Let go: the next press reads the list and shows what is kept, for the user to choose afresh.
  ::CloseHandle(held);
  EXPECT_EQ("#user@site##user@Alpha#\r\n", KeepFile()) << "nothing is saved over the keep list";
  SetCheck(form, 1, true);  // a tick made on the list that was not read
  testing::MessageBoxAnswerer readNotice(frmMessage::cmdYes, form);
  testing::Click(form, frmPopupCookie::cmdClean);
  EXPECT_EQ("The list of cookies to keep has just been read, so nothing was done. Check your choice again.",
            readNotice.Seen().text);
  EXPECT_EQ(0, stand.record.calls);
  EXPECT_EQ((std::vector<Item>{{"user@Alpha", true}, {"user@site", true}, {"user@other", false}}), Items(form));
  testing::MessageBoxAnswerer question(frmMessage::cmdYes, form);
  testing::Click(form, frmPopupCookie::cmdClean);
  EXPECT_EQ("The cookies of 1 site will be deleted; the checked sites keep theirs. Clean now?", question.Seen().text);
  stand.Revoke();
  EXPECT_EQ(1, stand.record.calls) << "now the choice stands on the keep list";
  EXPECT_EQ("#user@Alpha##user@site#\r\n", stand.record.keepListDuringCall);
  ::CoUninitialize();
}

TEST_F(CookieManager, OkThatCannotSaveSaysSoAndStaysOpen) {
  AddCookies();
  m_app.folder().Write("IECookieURL.dat", "#user@site#\r\n");
  HWND form = Open();
  SetCheck(form, 1, true);  // user@Alpha
  HANDLE held = testing::HoldFile(m_app.folder().File("IECookieURL.dat"), FILE_SHARE_READ);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  testing::MessageBoxAnswerer notice(frmMessage::cmdYes, form);
  testing::Click(form, frmPopupCookie::cmdOk);
  const testing::SeenMessageBox& seen = notice.Seen();
  ::CloseHandle(held);
  EXPECT_EQ("Keep cookies", seen.title);
  EXPECT_EQ("The list of cookies to keep could not be saved. IECookieURL.dat is held open by another program; try again once that program has closed it.", seen.text);
  EXPECT_TRUE(::IsWindow(form));
  EXPECT_EQ("#user@site#\r\n", KeepFile());
  EXPECT_EQ((std::vector<Item>{{"user@site", true}, {"user@Alpha", false}, {"user@other", false}}), Items(form))
      << "the list shows what the keep list still holds";
}

TEST_F(CookieManager, MissingCookieFolderGivesAnEmptyListThatSaysWhere) {
  const std::string nowhere = m_cookies.path() + "\\nowhere";
  vexbane::testing::WriteRawString(HKEY_CURRENT_USER, settings::kShellFoldersKeyPath, settings::kCookies, nowhere);
  HWND form = Open();
  EXPECT_TRUE(Items(form).empty());
  EXPECT_EQ("", KeepFile());
  HWND why = ::GetDlgItem(form, frmPopupCookie::lblNoCookies);
  ASSERT_NE(nullptr, why);
  EXPECT_TRUE(::IsWindowVisible(why));
  EXPECT_EQ("No cookies found in " + CookieFolderAsRead() + ".", testing::Text(why));
}

// Every kept name is checked but "Clean" would still delete the others: it says how many go and
// deletes nothing unless the user says "Yes".
TEST_F(CookieManager, CleanAsksFirstAndNoOrEscLeavesEveryCookie) {
  AddCookies();
  m_app.folder().Write("IECookieURL.dat", "#user@site#\r\n");
  RegisteredCleaner stand;
  ASSERT_NO_FATAL_FAILURE(stand.Register(m_cookies.File("user@other[1].txt"), m_app.folder().File("IECookieURL.dat")));
  HWND form = Open();
  SetCheck(form, 1, true);  // user@Alpha, ticked but not yet saved
  for (int press : {static_cast<int>(frmMessage::cmdNo), 0}) {
    testing::MessageBoxAnswerer question(press, form);
    testing::Click(form, frmPopupCookie::cmdClean);
    const testing::SeenMessageBox& asked = question.Seen();
    ASSERT_TRUE(asked.found) << press;
    EXPECT_EQ("The cookies of 1 site will be deleted; the checked sites keep theirs. Clean now?", asked.text);
    EXPECT_EQ(0, stand.record.calls) << "nothing is cleaned without Yes (" << press << ")";
    EXPECT_NE("<missing>", m_cookies.Read("user@other[1].txt"));
    EXPECT_EQ("#user@site#\r\n", KeepFile()) << "nor saved";
    EXPECT_TRUE(::IsWindow(form));
    EXPECT_EQ((std::vector<Item>{{"user@site", true}, {"user@Alpha", true}, {"user@other", false}}), Items(form))
        << "the check marks stay as the user left them";
  }
  stand.Revoke();
  ::CoUninitialize();
}

TEST_F(CookieManager, TheListSaysWhyItIsEmptyOnlyWhileItIs) {
  HWND form = Open();
  HWND why = ::GetDlgItem(form, frmPopupCookie::lblNoCookies);
  EXPECT_TRUE(::IsWindowVisible(why));
  EXPECT_EQ("No cookies found in " + CookieFolderAsRead() + ".", testing::Text(why));
  EXPECT_EQ(why, ::GetWindow(form, GW_CHILD)) << "above the list, so the list does not paint over it";
  EXPECT_TRUE(::GetWindowLongPtrA(::GetDlgItem(form, frmPopupCookie::lstCookie), GWL_STYLE) & WS_CLIPSIBLINGS);
  testing::Click(form, frmPopupCookie::cmdExit);

  AddCookies();
  form = Open();
  why = ::GetDlgItem(form, frmPopupCookie::lblNoCookies);
  EXPECT_FALSE(::IsWindowVisible(why));

  // "Clean" that leaves no cookie shows the text again.
  RegisteredCleaner stand;
  ASSERT_NO_FATAL_FAILURE(stand.Register(m_cookies.File("user@other[1].txt"), m_app.folder().File("IECookieURL.dat")));
  for (const char* name : {"user@site[1].txt", "user@site[2].txt", "user@Alpha[1].txt"})
    ::DeleteFileA(m_cookies.File(name).c_str());
  testing::MessageBoxAnswerer question(frmMessage::cmdYes, form);
  testing::Click(form, frmPopupCookie::cmdClean);
  stand.Revoke();
  EXPECT_TRUE(question.Seen().found);
  EXPECT_TRUE(Items(form).empty());
  EXPECT_TRUE(::IsWindowVisible(why));
  ::CoUninitialize();
}

TEST_F(CookieManager, AClickOnTheAutoCleanCaptionTogglesItsBox) {
  m_key.Set("AutoClean", "1");
  HWND form = Open();
  HWND caption = ::GetDlgItem(form, frmPopupCookie::lblAutoClean);
  ASSERT_TRUE(AutoCleanChecked(form));
  ::SendMessageA(caption, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  ::SendMessageA(caption, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_FALSE(AutoCleanChecked(form));
  ::SendMessageA(caption, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  ::SendMessageA(caption, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_TRUE(AutoCleanChecked(form));
  // A double click is two presses, as on the box itself.
  ::SendMessageA(caption, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  ::SendMessageA(caption, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  ::SendMessageA(caption, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
  ::SendMessageA(caption, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_TRUE(AutoCleanChecked(form));
  EXPECT_EQ("1", m_key.Get("AutoClean")) << "nothing is saved until Ok";
  ::SendMessageA(caption, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  ::SendMessageA(caption, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  testing::Click(form, frmPopupCookie::cmdOk);
  EXPECT_EQ("0", m_key.Get("AutoClean"));
}

}  // namespace
}  // namespace vexbane::tray
