// Cleaning a real cookie folder through the registered component: created by CLSID, called
// through the interface's slot 7 and through IDispatch by name, with the keep list beside the DLL.
#include <windows.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Guids.h"
#include "ICookieCleaner.h"
#include "installed_copy.h"

namespace vexbane::cookiecleaner {
namespace {

using testing::Bstr;
using testing::Exists;
using testing::InstalledCopy;
using testing::RemoveTree;
using testing::WriteFileText;

constexpr char kShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr wchar_t kCode[] = L"VEXBANECLN";

// The cookie files of one owner-rich folder and what becomes of them with the keep list
// "#BOB@NEWS##Carol@Shop#" (kept owners written in other letter case than their files).
const std::vector<std::string> kDoomed = {"ann@example[1].txt", "ann@example[2].txt", "eve@tracker[1].txt",
                                          "dave@ads.site.txt"};
const std::vector<std::string> kSpared = {"index.dat", "INDEX.DAT.bak", "bob@news[1].txt", "carol@shop[2].txt"};
constexpr char kKeepList[] = "#BOB@NEWS##Carol@Shop#\r\n";

class CleaningTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_copy = new InstalledCopy("vexbane-cookie-program");
    if (s_copy->module()) s_registered = s_copy->Call("DllRegisterServer");
  }
  static void TearDownTestSuite() {
    s_copy->Call("DllUnregisterServer");
    delete s_copy;
    s_copy = nullptr;
  }

  void SetUp() override {
    ASSERT_NE(s_copy->module(), nullptr) << "cannot load a copy of " VEXBANE_COOKIECLEANER_DLL_PATH;
    ASSERT_EQ(s_registered, S_OK);
    ASSERT_TRUE(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    char temp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, temp);
    m_root = std::string(temp) + "vexbane-cookie-profile";
    RemoveTree(m_root);
    ASSERT_TRUE(::CreateDirectoryA(m_root.c_str(), nullptr));
    m_cookies = m_root + "\\Cookies";
    ASSERT_TRUE(::CreateDirectoryA(m_cookies.c_str(), nullptr));
    m_hadValue = vexbane::testing::ReadRawString(HKEY_CURRENT_USER, kShellFolders, "Cookies", m_savedValue);
    PointCookieFolderAt(m_cookies);
    ::DeleteFileA(KeepListPath().c_str());
  }

  void TearDown() override {
    if (m_hadValue) vexbane::testing::WriteRawString(HKEY_CURRENT_USER, kShellFolders, "Cookies", m_savedValue);
    else vexbane::testing::DeleteValue(HKEY_CURRENT_USER, kShellFolders, "Cookies");
    ::DeleteFileA(KeepListPath().c_str());
    RemoveTree(m_root);
    ::CoUninitialize();
  }

  static void PointCookieFolderAt(const std::string& folder) {
    vexbane::testing::WriteRawString(HKEY_CURRENT_USER, kShellFolders, "Cookies", folder);
  }
  static std::string KeepListPath() { return s_copy->folder().File("IECookieURL.dat"); }

  std::string Cookie(const std::string& name) const { return m_cookies + "\\" + name; }
  void AddCookies(const std::vector<std::string>& names) const {
    for (const std::string& name : names) WriteFileText(Cookie(name), "cookie\n" + name + "\n");
  }
  void AddTheUsualFolder() const {
    AddCookies(kDoomed);
    AddCookies(kSpared);
  }
  // The names of `names` that are still in the cookie folder.
  std::vector<std::string> Present(const std::vector<std::string>& names) const {
    std::vector<std::string> present;
    for (const std::string& name : names) {
      if (Exists(Cookie(name))) present.push_back(name);
    }
    return present;
  }

  // A fresh object created by CLSID through the registry, asked for the cleaner's own interface.
  ICookieCleaner* Create() const {
    ICookieCleaner* cleaner = nullptr;
    HRESULT hr = ::CoCreateInstance(kClsidCleaner, nullptr, CLSCTX_INPROC_SERVER, kIidCookieCleaner,
                                    reinterpret_cast<void**>(&cleaner));
    EXPECT_EQ(hr, S_OK);
    return SUCCEEDED(hr) ? cleaner : nullptr;
  }
  // Creates, calls Clean once with `code` and releases, as the tray program and the helper do.
  HRESULT CleanWith(BSTR code) const {
    ICookieCleaner* cleaner = Create();
    if (!cleaner) return E_FAIL;
    HRESULT hr = cleaner->Clean(code);
    cleaner->Release();
    return hr;
  }
  HRESULT Clean() const {
    Bstr code(kCode);
    return CleanWith(code.get());
  }

  static InstalledCopy* s_copy;
  static HRESULT s_registered;
  std::string m_root, m_cookies, m_savedValue;
  bool m_hadValue = false;
};

InstalledCopy* CleaningTest::s_copy = nullptr;
HRESULT CleaningTest::s_registered = E_FAIL;

TEST_F(CleaningTest, SlotSevenCleansAllButIndexAndKeptFilesAndStaysInsideTheFolder) {
  AddTheUsualFolder();
  WriteFileText(KeepListPath(), kKeepList);
  ASSERT_TRUE(::CreateDirectoryA(Cookie("sub").c_str(), nullptr));
  WriteFileText(Cookie("sub\\zed@inner[1].txt"), "inner");
  WriteFileText(m_root + "\\ann@example[3].txt", "beside the folder");

  ICookieCleaner* cleaner = Create();
  ASSERT_NE(cleaner, nullptr);
  // Call the eighth vtable entry itself, as the browser helper does, not a header's idea of it.
  using CleanFn = HRESULT(STDMETHODCALLTYPE*)(void* self, BSTR code);
  void** vtable = *reinterpret_cast<void***>(cleaner);
  auto slot7 = reinterpret_cast<CleanFn>(vtable[7]);
  Bstr code(kCode);
  EXPECT_EQ(slot7(cleaner, code.get()), S_OK);
  cleaner->Release();

  EXPECT_EQ(Present(kDoomed), std::vector<std::string>{});
  EXPECT_EQ(Present(kSpared), kSpared);
  EXPECT_TRUE(Exists(Cookie("sub"))) << "a subfolder is not deleted";
  EXPECT_TRUE(Exists(Cookie("sub\\zed@inner[1].txt"))) << "nor is anything inside it";
  EXPECT_TRUE(Exists(m_root + "\\ann@example[3].txt")) << "the parent folder is not touched";
  EXPECT_EQ(s_copy->folder().Read("IECookieURL.dat"), kKeepList) << "the keep list is only read";
}

// Internet Explorer in Protected Mode (Vista and later) keeps its cookies in "Low" below the
// cookie folder: cleaned there by the same keep list and rule; earlier systems have no such
// folder of the browser's, and a folder of that name is left alone there.
TEST_F(CleaningTest, ProtectedModeCookiesInLowAreCleanedFromVistaOnAndLeftBefore) {
  AddTheUsualFolder();
  WriteFileText(KeepListPath(), kKeepList);
  const std::string low = m_cookies + "\\Low";
  ASSERT_TRUE(::CreateDirectoryA(low.c_str(), nullptr));
  for (const std::string& name : kDoomed) WriteFileText(low + "\\" + name, "low cookie");
  for (const std::string& name : kSpared) WriteFileText(low + "\\" + name, "low cookie");
  ASSERT_TRUE(::CreateDirectoryA((low + "\\deeper").c_str(), nullptr));
  WriteFileText(low + "\\deeper\\zed@inner[1].txt", "two levels down");

  ASSERT_EQ(Clean(), S_OK);
  const DWORD version = ::GetVersion();
  const bool vista = !(version & 0x80000000u) && (version & 0xFF) >= 6;
  EXPECT_EQ(Present(kDoomed), std::vector<std::string>{});
  for (const std::string& name : kSpared) EXPECT_TRUE(Exists(low + "\\" + name)) << name;
  for (const std::string& name : kDoomed)
    EXPECT_EQ(Exists(low + "\\" + name), !vista) << name << (vista ? " stays in Low" : " went from Low before Vista");
  EXPECT_TRUE(Exists(low + "\\deeper\\zed@inner[1].txt")) << "only Low itself, never further down";
}

TEST_F(CleaningTest, ReadOnlyAndOpenFilesAreSkippedAndTheRestStillGo) {
  AddCookies(kDoomed);
  AddCookies({"ro@site[1].txt", "open@site[1].txt"});
  ASSERT_TRUE(::SetFileAttributesA(Cookie("ro@site[1].txt").c_str(), FILE_ATTRIBUTE_READONLY));
  HANDLE open = ::CreateFileA(Cookie("open@site[1].txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(open, INVALID_HANDLE_VALUE);

  EXPECT_EQ(Clean(), S_OK);
  ::CloseHandle(open);

  EXPECT_EQ(Present(kDoomed), std::vector<std::string>{});
  EXPECT_TRUE(Exists(Cookie("ro@site[1].txt")));
  EXPECT_EQ(::GetFileAttributesA(Cookie("ro@site[1].txt").c_str()) & FILE_ATTRIBUTE_READONLY,
            static_cast<DWORD>(FILE_ATTRIBUTE_READONLY))
      << "the user's read-only mark stays";
  EXPECT_TRUE(Exists(Cookie("open@site[1].txt")));
}

TEST_F(CleaningTest, MissingOrEmptyKeepListKeepsOnlyTheIndexFiles) {
  for (bool withEmptyFile : {false, true}) {
    SCOPED_TRACE(withEmptyFile ? "empty keep list" : "no keep list");
    AddTheUsualFolder();
    if (withEmptyFile) WriteFileText(KeepListPath(), "");
    EXPECT_EQ(Clean(), S_OK);
    EXPECT_EQ(Present(kDoomed), std::vector<std::string>{});
    EXPECT_EQ(Present(kSpared), (std::vector<std::string>{"index.dat", "INDEX.DAT.bak"}));
    EXPECT_EQ(Exists(KeepListPath()), withEmptyFile) << "the component never creates the keep list";
  }
}

TEST_F(CleaningTest, KeepListThatCannotBeReadDeletesNothing) {
  AddTheUsualFolder();
  WriteFileText(KeepListPath(), kKeepList);
  HANDLE locked = ::CreateFileA(KeepListPath().c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(locked, INVALID_HANDLE_VALUE);
  EXPECT_EQ(Clean(), S_OK);
  ::CloseHandle(locked);
  EXPECT_EQ(Present(kDoomed), kDoomed);
  EXPECT_EQ(Present(kSpared), kSpared);

  // Once the lock is gone the same call cleans, so the lock alone held it back.
  EXPECT_EQ(Clean(), S_OK);
  EXPECT_EQ(Present(kDoomed), std::vector<std::string>{});
}

TEST_F(CleaningTest, AnyOtherTextThanTheCodeDoesNothing) {
  AddTheUsualFolder();
  const wchar_t codeThenMore[] = L"VEXBANECLN\0X";
  const wchar_t* wrongCodes[] = {L"vexbanecln", L"VexbaneCln", L"VEXBANECL", L"VEXBANECLNX", L" VEXBANECLN", L""};
  for (const wchar_t* text : wrongCodes) {
    Bstr code(text);
    EXPECT_EQ(CleanWith(code.get()), S_OK);
  }
  EXPECT_EQ(CleanWith(nullptr), S_OK);
  Bstr withNul(codeThenMore, 12);
  EXPECT_EQ(CleanWith(withNul.get()), S_OK);
  EXPECT_EQ(Present(kDoomed), kDoomed);
  EXPECT_EQ(Present(kSpared), kSpared);
}

TEST_F(CleaningTest, NoUsableCookieFolderMeansNoCleaningAnywhere) {
  AddTheUsualFolder();
  // A careless cleaner would fall back on the current folder; make that the cookie folder.
  char previous[MAX_PATH] = {};
  ::GetCurrentDirectoryA(MAX_PATH, previous);
  ASSERT_TRUE(::SetCurrentDirectoryA(m_cookies.c_str()));

  vexbane::testing::DeleteValue(HKEY_CURRENT_USER, kShellFolders, "Cookies");
  EXPECT_EQ(Clean(), S_OK);
  PointCookieFolderAt(m_root + "\\NoSuchFolder");
  EXPECT_EQ(Clean(), S_OK);
  PointCookieFolderAt(".");
  EXPECT_EQ(Clean(), S_OK);
  PointCookieFolderAt("");
  EXPECT_EQ(Clean(), S_OK);
  PointCookieFolderAt(Cookie("index.dat"));  // a file, not a folder
  EXPECT_EQ(Clean(), S_OK);

  ::SetCurrentDirectoryA(previous);
  EXPECT_EQ(Present(kDoomed), kDoomed);
  EXPECT_EQ(Present(kSpared), kSpared);
}

TEST_F(CleaningTest, TrailingSeparatorAndSpacesInTheFolderValueStillFindTheFolder) {
  AddTheUsualFolder();
  PointCookieFolderAt("  " + m_cookies + "\\  ");
  EXPECT_EQ(Clean(), S_OK);
  EXPECT_EQ(Present(kDoomed), std::vector<std::string>{});
}

TEST_F(CleaningTest, IDispatchFindsCleanByNameAndInvokesIt) {
  AddTheUsualFolder();
  WriteFileText(KeepListPath(), kKeepList);
  IDispatch* dispatch = nullptr;
  ASSERT_EQ(::CoCreateInstance(kClsidCleaner, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                               reinterpret_cast<void**>(&dispatch)),
            S_OK);
  UINT count = 0;
  EXPECT_EQ(dispatch->GetTypeInfoCount(&count), S_OK);
  EXPECT_EQ(count, 1u);

  wchar_t nameText[] = L"clean";  // names are matched without regard to case
  LPOLESTR name = nameText;
  DISPID id = DISPID_UNKNOWN;
  ASSERT_EQ(dispatch->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id), S_OK);
  wchar_t otherText[] = L"Wipe";
  LPOLESTR other = otherText;
  DISPID otherId = 0;
  EXPECT_EQ(dispatch->GetIDsOfNames(IID_NULL, &other, 1, LOCALE_USER_DEFAULT, &otherId), DISP_E_UNKNOWNNAME);

  // Without an argument the call is refused and nothing happens.
  DISPPARAMS none = {nullptr, nullptr, 0, 0};
  EXPECT_EQ(dispatch->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr),
            DISP_E_BADPARAMCOUNT);
  EXPECT_EQ(Present(kDoomed), kDoomed);

  // A late-bound caller that passes its string by reference.
  BSTR text = ::SysAllocString(kCode);
  VARIANT arg;
  ::VariantInit(&arg);
  arg.vt = VT_BSTR | VT_BYREF;
  arg.pbstrVal = &text;
  DISPPARAMS params = {&arg, nullptr, 1, 0};
  EXPECT_EQ(dispatch->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr),
            S_OK);
  ::SysFreeString(text);
  dispatch->Release();

  EXPECT_EQ(Present(kDoomed), std::vector<std::string>{});
  EXPECT_EQ(Present(kSpared), kSpared);
}

TEST_F(CleaningTest, IDispatchWithAWrongCodeDoesNothing) {
  AddTheUsualFolder();
  IDispatch* dispatch = nullptr;
  ASSERT_EQ(::CoCreateInstance(kClsidCleaner, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                               reinterpret_cast<void**>(&dispatch)),
            S_OK);
  wchar_t nameText[] = L"Clean";
  LPOLESTR name = nameText;
  DISPID id = DISPID_UNKNOWN;
  ASSERT_EQ(dispatch->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id), S_OK);
  VARIANT arg;
  ::VariantInit(&arg);
  arg.vt = VT_BSTR;
  arg.bstrVal = ::SysAllocString(L"VEXBANE");
  DISPPARAMS params = {&arg, nullptr, 1, 0};
  EXPECT_EQ(dispatch->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr),
            S_OK);
  ::VariantClear(&arg);
  dispatch->Release();
  EXPECT_EQ(Present(kDoomed), kDoomed);
}

// A caller in the multithreaded apartment gets the apartment object through COM's marshalling of
// the dual interface, which rests on the registered type library.
TEST_F(CleaningTest, CallerInTheMultithreadedApartmentReachesCleanThroughMarshalling) {
  AddTheUsualFolder();
  WriteFileText(KeepListPath(), kKeepList);
  struct Call {
    HRESULT created = E_FAIL;
    HRESULT cleaned = E_FAIL;
  } call;
  auto run = [](void* param) __attribute__((stdcall)) -> DWORD {
    auto* c = static_cast<Call*>(param);
    if (FAILED(::CoInitializeEx(nullptr, COINIT_MULTITHREADED))) return 1;
    ICookieCleaner* cleaner = nullptr;
    c->created = ::CoCreateInstance(kClsidCleaner, nullptr, CLSCTX_INPROC_SERVER, kIidCookieCleaner,
                                    reinterpret_cast<void**>(&cleaner));
    if (SUCCEEDED(c->created)) {
      BSTR code = ::SysAllocString(kCode);
      c->cleaned = cleaner->Clean(code);
      ::SysFreeString(code);
      cleaner->Release();
    }
    ::CoUninitialize();
    return 0;
  };
  HANDLE thread = ::CreateThread(nullptr, 0, run, &call, 0, nullptr);
  ASSERT_NE(thread, nullptr);
  ASSERT_EQ(::WaitForSingleObject(thread, 60000), WAIT_OBJECT_0);
  ::CloseHandle(thread);
  EXPECT_EQ(call.created, S_OK);
  EXPECT_EQ(call.cleaned, S_OK);
  EXPECT_EQ(Present(kDoomed), std::vector<std::string>{});
  EXPECT_EQ(Present(kSpared), kSpared);
}

// Links are only seen where the file system can make them; Wine 8 cannot, so the case is then
// reported as skipped (the rule itself is covered natively with a listing that marks links).
TEST_F(CleaningTest, LinksInTheCookieFolderAreNeitherDeletedNorFollowed) {
  using CreateLinkFn = BOOLEAN(WINAPI*)(LPCSTR link, LPCSTR target, DWORD flags);
  auto createLink =
      reinterpret_cast<CreateLinkFn>(::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "CreateSymbolicLinkA"));
  const std::string outside = m_root + "\\outside";
  ASSERT_TRUE(::CreateDirectoryA(outside.c_str(), nullptr));
  WriteFileText(outside + "\\target@site[1].txt", "outside");
  const bool fileLink = createLink && createLink(Cookie("link@site[1].txt").c_str(),
                                                 (outside + "\\target@site[1].txt").c_str(), 0);
  const bool folderLink = createLink && createLink(Cookie("linked").c_str(), outside.c_str(), 1);
  const DWORD attributes = ::GetFileAttributesA(Cookie("link@site[1].txt").c_str());
  if (!fileLink || !folderLink || attributes == INVALID_FILE_ATTRIBUTES ||
      !(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
    GTEST_SKIP() << "this file system makes no symbolic links";

  AddCookies(kDoomed);
  EXPECT_EQ(Clean(), S_OK);
  EXPECT_EQ(Present(kDoomed), std::vector<std::string>{});
  EXPECT_TRUE(Exists(Cookie("link@site[1].txt")));
  EXPECT_TRUE(Exists(Cookie("linked")));
  EXPECT_TRUE(Exists(outside + "\\target@site[1].txt"));
}

}  // namespace
}  // namespace vexbane::cookiecleaner
