// What the component may delete, through the registered component: cookie files only, and never
// in a folder that resolves to a root or to a folder the system or the user lives in.
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
constexpr char kCurrentVersion[] = "Software\\Microsoft\\Windows\\CurrentVersion";
// A name that no other program of the prefix uses, in the shape of a cookie file, so that a
// folder wrongly taken for the cookie folder loses this file and nothing else.
constexpr char kSentinel[] = "vexbane-guard@sentinel[1].txt";

std::string ShortPath(const std::string& path) {
  char buffer[MAX_PATH] = {};
  DWORD n = ::GetShortPathNameA(path.c_str(), buffer, MAX_PATH);
  return n > 0 && n < MAX_PATH ? std::string(buffer, n) : std::string();
}

std::string WindowsFolder() {
  char buffer[MAX_PATH] = {};
  ::GetWindowsDirectoryA(buffer, MAX_PATH);
  return buffer;
}

std::string SystemFolder() {
  char buffer[MAX_PATH] = {};
  ::GetSystemDirectoryA(buffer, MAX_PATH);
  return buffer;
}

// A registry or environment setting put back as it was when the test ends.
class SavedString {
 public:
  SavedString(HKEY root, const char* path, const char* name) : m_root(root), m_path(path), m_name(name) {
    m_had = vexbane::testing::ReadRawString(root, path, name, m_text);
  }
  ~SavedString() {
    if (m_had) vexbane::testing::WriteRawString(m_root, m_path, m_name, m_text);
    else vexbane::testing::DeleteValue(m_root, m_path, m_name);
  }
  void Set(const std::string& text) const { vexbane::testing::WriteRawString(m_root, m_path, m_name, text); }

 private:
  HKEY m_root;
  const char* m_path;
  const char* m_name;
  std::string m_text;
  bool m_had = false;
};

class SavedVariable {
 public:
  explicit SavedVariable(const char* name) : m_name(name) {
    char buffer[MAX_PATH] = {};
    DWORD n = ::GetEnvironmentVariableA(name, buffer, MAX_PATH);
    m_had = n > 0 && n < MAX_PATH;
    m_text = buffer;
  }
  ~SavedVariable() { ::SetEnvironmentVariableA(m_name, m_had ? m_text.c_str() : nullptr); }
  void Set(const std::string& text) const { ::SetEnvironmentVariableA(m_name, text.c_str()); }

 private:
  const char* m_name;
  std::string m_text;
  bool m_had = false;
};

class FolderGuardTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_copy = new InstalledCopy("vexbane-guard-program");
    if (s_copy->module()) s_registered = s_copy->Call("DllRegisterServer");
  }
  static void TearDownTestSuite() {
    s_copy->Call("DllUnregisterServer");
    delete s_copy;
    s_copy = nullptr;
  }

  void SetUp() override {
    ASSERT_NE(s_copy->module(), nullptr);
    ASSERT_EQ(s_registered, S_OK);
    ASSERT_TRUE(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    char temp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, temp);
    m_root = std::string(temp) + "vexbane-guard-profile";
    RemoveTree(m_root);
    ASSERT_TRUE(::CreateDirectoryA(m_root.c_str(), nullptr));
    // A profile of the test's own: its root, desktop and documents, with long names that have
    // short forms of their own, and the cookie folder inside it.
    m_profile = m_root + "\\Profile of Ann";
    m_desktop = m_profile + "\\Desktop Folder";
    m_documents = m_profile + "\\My Documents";
    m_cookies = m_profile + "\\Cookie Jar";
    for (const std::string* folder : {&m_profile, &m_desktop, &m_documents, &m_cookies})
      ASSERT_TRUE(::CreateDirectoryA(folder->c_str(), nullptr)) << *folder;
    m_desktopValue.Set(m_desktop);
    m_documentsValue.Set(m_documents);
    m_profileVariable.Set(m_profile);
    m_cookiesValue.Set(m_cookies);
  }

  void TearDown() override {
    for (const std::string& file : m_sentinels) {
      ::SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
      ::DeleteFileA(file.c_str());
    }
    RemoveTree(m_root);
    ::CoUninitialize();
  }

  HRESULT Clean() const {
    ICookieCleaner* cleaner = nullptr;
    HRESULT hr = ::CoCreateInstance(kClsidCleaner, nullptr, CLSCTX_INPROC_SERVER, kIidCookieCleaner,
                                    reinterpret_cast<void**>(&cleaner));
    if (FAILED(hr)) return hr;
    Bstr code(L"VEXBANECLN");
    hr = cleaner->Clean(code.get());
    cleaner->Release();
    return hr;
  }

  // Puts the sentinel cookie into `folder` (once) and returns its path.
  std::string Sentinel(const std::string& folder) {
    const std::string file = folder + "\\" + kSentinel;
    if (!Exists(file)) {
      WriteFileText(file, "sentinel");
      m_sentinels.push_back(file);
    }
    return file;
  }

  // Points the "Cookies" value at `value`, cleans, and tells whether the sentinel cookie in
  // `folder` (the folder the value resolves to) survived.
  bool SurvivesCleaningVia(const std::string& folder, const std::string& value) {
    const std::string sentinel = Sentinel(folder);
    EXPECT_TRUE(Exists(sentinel)) << "cannot write into " << folder;
    m_cookiesValue.Set(value);
    EXPECT_EQ(Clean(), S_OK);
    return Exists(sentinel);
  }

  static InstalledCopy* s_copy;
  static HRESULT s_registered;
  SavedString m_cookiesValue{HKEY_CURRENT_USER, kShellFolders, "Cookies"};
  SavedString m_desktopValue{HKEY_CURRENT_USER, kShellFolders, "Desktop"};
  SavedString m_documentsValue{HKEY_CURRENT_USER, kShellFolders, "Personal"};
  SavedVariable m_profileVariable{"USERPROFILE"};
  std::string m_root, m_profile, m_desktop, m_documents, m_cookies;
  std::vector<std::string> m_sentinels;
};

InstalledCopy* FolderGuardTest::s_copy = nullptr;
HRESULT FolderGuardTest::s_registered = E_FAIL;

TEST_F(FolderGuardTest, OnlyCookieFilesGoFromAFolderOfMixedFiles) {
  const std::vector<std::string> cookies = {"ann@example[1].txt", "bob@news.TXT", "eve@ads.tracker[12].txt"};
  const std::vector<std::string> others = {"win.ini",    "notes.txt",         "budget.xls",      "report@2004.doc",
                                           "index.dat",  "readme@.txt",       "@example.txt",    "ann@example[x].txt",
                                           "thumbs.db",  "ann@example.txt.lnk", "letter to bob.txt"};
  for (const std::string& name : cookies) WriteFileText(m_cookies + "\\" + name, "cookie");
  for (const std::string& name : others) WriteFileText(m_cookies + "\\" + name, "keep me");
  const std::string hidden = m_cookies + "\\desktop.ini";
  const std::string hiddenCookie = m_cookies + "\\carol@shop[1].txt";
  WriteFileText(hidden, "[.ShellClassInfo]");
  WriteFileText(hiddenCookie, "cookie");
  ASSERT_TRUE(::SetFileAttributesA(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
  ASSERT_TRUE(::SetFileAttributesA(hiddenCookie.c_str(), FILE_ATTRIBUTE_HIDDEN));

  EXPECT_EQ(Clean(), S_OK);

  for (const std::string& name : cookies) EXPECT_FALSE(Exists(m_cookies + "\\" + name)) << name;
  EXPECT_FALSE(Exists(hiddenCookie)) << "a hidden cookie file is still a cookie file";
  for (const std::string& name : others) EXPECT_TRUE(Exists(m_cookies + "\\" + name)) << name;
  EXPECT_TRUE(Exists(hidden)) << "the hidden system file stays";
}

TEST_F(FolderGuardTest, SpellingsThatResolveToTheCookieFolderStillClean) {
  ::CreateDirectoryA((m_cookies + "\\sub").c_str(), nullptr);
  const std::string spellings[] = {m_cookies + "\\.", m_cookies + "\\sub\\..", m_cookies + "\\\\",
                                   m_profile + "\\.\\Cookie Jar", ShortPath(m_cookies)};
  ASSERT_NE(ShortPath(m_cookies), m_cookies) << "the file system gives long names short forms";
  for (const std::string& value : spellings) {
    SCOPED_TRACE(value);
    EXPECT_FALSE(SurvivesCleaningVia(m_cookies, value));
  }
}

struct GuardCase {
  std::string folder;  // where the value leads
  std::string value;   // how the "Cookies" value spells it
};

TEST_F(FolderGuardTest, TheProfilesRootDesktopAndDocumentsAreRefusedHoweverSpelled) {
  const GuardCase refused[] = {
      {m_profile, m_profile},
      {m_profile, m_profile + "\\"},
      {m_profile, m_profile + "\\."},
      {m_profile, m_cookies + "\\.."},
      {m_profile, m_profile + "."},
      {m_profile, m_profile + " . "},
      {m_profile, ShortPath(m_profile)},
      {m_desktop, m_desktop},
      {m_desktop, m_desktop + "\\..\\Desktop Folder"},
      {m_desktop, ShortPath(m_desktop)},
      {m_documents, m_documents},
      {m_documents, ShortPath(m_documents) + "\\."},
      {m_root, m_root},  // the folder that holds the profile
  };
  for (const GuardCase& c : refused) {
    SCOPED_TRACE(c.value);
    EXPECT_TRUE(SurvivesCleaningVia(c.folder, c.value));
  }
  // The cookie folder inside the profile is still cleaned.
  EXPECT_FALSE(SurvivesCleaningVia(m_cookies, m_cookies));
}

// The refusal is seen on a sentinel cookie before anything else could go: the fresh prefix's
// Windows, System and Program Files folders hold no file of the cookie shape but the sentinel.
TEST_F(FolderGuardTest, TheWindowsSystemAndProgramFilesFoldersAreRefusedButFoldersInsideThemAreNot) {
  const std::string windows = WindowsFolder();
  const std::string system = SystemFolder();
  std::string programFiles;
  ASSERT_TRUE(vexbane::testing::ReadRawString(HKEY_LOCAL_MACHINE, kCurrentVersion, "ProgramFilesDir", programFiles));
  ASSERT_FALSE(windows.empty());
  const std::string drive = windows.substr(0, 3);

  const GuardCase refused[] = {
      {windows, windows},
      {windows, windows + "\\"},
      {windows, windows + "\\."},
      {windows, system + "\\.."},
      {windows, windows + "."},
      {windows, windows + " ."},
      {windows, "  " + windows + "\\  "},
      {windows, "c:/WINDOWS/"},
      {windows, ShortPath(windows)},
      {system, system},
      {system, windows + "\\SYSTEM32\\."},
      {system, ShortPath(system)},
      {programFiles, programFiles},
      {programFiles, ShortPath(programFiles)},
      {programFiles, programFiles + "\\Common Files\\.."},
      {drive, windows + "\\.."},
      {drive, drive + "."},
  };
  for (const GuardCase& c : refused) {
    SCOPED_TRACE(c.value);
    EXPECT_TRUE(SurvivesCleaningVia(c.folder, c.value));
  }

  // The 95 family's cookie folder lies inside the Windows folder, and stays a cookie folder.
  const std::string inside = windows + "\\VexbaneGuardCookies";
  ::CreateDirectoryA(inside.c_str(), nullptr);
  EXPECT_FALSE(SurvivesCleaningVia(inside, inside));
  EXPECT_FALSE(SurvivesCleaningVia(inside, ShortPath(inside)));
  ::RemoveDirectoryA(inside.c_str());
  EXPECT_FALSE(Exists(inside));
}

}  // namespace
}  // namespace vexbane::cookiecleaner
