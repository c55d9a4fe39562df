// The test build of the installer (64-bit, or the 32-bit kind in the i686 tree), run silently under Wine: what it installs and what its uninstaller removes.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>

#include "core/settings.h"
#include "testsupport/registry_fixture.h"

namespace vexbane {
namespace {

constexpr char kHelperClsidKey[] = "CLSID\\{A09790E7-DD00-4A83-B632-5B563423CFBB}";
constexpr char kBhoKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Browser Helper Objects\\"
    "{A09790E7-DD00-4A83-B632-5B563423CFBB}";
constexpr char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vexbane";
constexpr DWORD kRunTimeoutMs = 120000;

std::string InstallDir() {
  char programFiles[MAX_PATH] = {};
  ::SHGetFolderPathA(nullptr, CSIDL_PROGRAM_FILES, nullptr, SHGFP_TYPE_CURRENT, programFiles);
  return std::string(programFiles) + "\\Vexbane";
}

bool FileExists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string FileStart(const std::string& path, size_t count) {
  HANDLE f = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return "<missing>";
  std::string bytes(count, '\0');
  DWORD got = 0;
  ::ReadFile(f, bytes.data(), static_cast<DWORD>(count), &got, nullptr);
  ::CloseHandle(f);
  bytes.resize(got);
  return bytes;
}

std::string RawString(HKEY root, const char* path, const char* name) {
  std::string text;
  return testing::ReadRawString(root, path, name, text) ? text : "<missing>";
}

// Runs a program and pumps this thread's messages until it ends, so that windows of this
// thread answer what the program sends them. Returns the exit code, or -1.
long RunAndPump(std::string commandLine) {
  STARTUPINFOA si = {sizeof si};
  PROCESS_INFORMATION pi = {};
  if (!::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
    return -1;
  ::CloseHandle(pi.hThread);
  const DWORD deadline = ::GetTickCount() + kRunTimeoutMs;
  for (;;) {
    DWORD wait = ::MsgWaitForMultipleObjects(1, &pi.hProcess, FALSE, 100, QS_ALLINPUT);
    if (wait == WAIT_OBJECT_0) break;
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageA(&msg);
    }
    if (::GetTickCount() > deadline) {
      ::TerminateProcess(pi.hProcess, 1);
      break;
    }
  }
  DWORD code = 0;
  ::GetExitCodeProcess(pi.hProcess, &code);
  ::CloseHandle(pi.hProcess);
  return static_cast<long>(code);
}

// A running tray program as the uninstaller sees it: the hidden form captioned "Vexbane Tray
// Form" with its "Form Close" button, whose click ends the program.
class StandInTray {
 public:
  // Without the button the form can only be closed as a window.
  explicit StandInTray(bool withExitButton = true) {
    Register("VexbaneTestTrayForm", ::DefWindowProcA);
    Register("VexbaneTestTrayButton", ButtonProc);
    m_form = ::CreateWindowExA(0, "VexbaneTestTrayForm", "Vexbane Tray Form", WS_OVERLAPPED, 0, 0, 100, 100,
                               nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr);
    if (!withExitButton) return;
    m_button = ::CreateWindowExA(0, "VexbaneTestTrayButton", "Form Close", WS_CHILD, 0, 20, 65, 17, m_form,
                                 nullptr, ::GetModuleHandleA(nullptr), nullptr);
    ::SetWindowLongPtrA(m_button, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  ~StandInTray() {
    if (::IsWindow(m_form)) ::DestroyWindow(m_form);
    ::UnregisterClassA("VexbaneTestTrayButton", ::GetModuleHandleA(nullptr));
    ::UnregisterClassA("VexbaneTestTrayForm", ::GetModuleHandleA(nullptr));
  }
  bool Created() const { return m_form != nullptr; }
  int Clicks() const { return m_clicks; }
  bool Running() const { return ::IsWindow(m_form) != FALSE; }

 private:
  static void Register(const char* name, WNDPROC proc) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = proc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = name;
    ::RegisterClassA(&wc);
  }
  static LRESULT CALLBACK ButtonProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
    if (msg == BM_CLICK) {
      auto* self = reinterpret_cast<StandInTray*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
      if (self) {
        ++self->m_clicks;
        ::DestroyWindow(self->m_form);
      }
      return 0;
    }
    return ::DefWindowProcA(hwnd, msg, wp, lp);
  }

  HWND m_form = nullptr;
  HWND m_button = nullptr;
  int m_clicks = 0;
};

class InstallerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_dir = InstallDir();
    testing::DeleteKeyTree(HKEY_LOCAL_MACHINE, settings::kProductKeyPath);
    testing::DeleteKeyTree(HKEY_LOCAL_MACHINE, settings::kMessengerKeyPath);
  }
  void TearDown() override {
    // Whatever a failed run left behind.
    for (const char* name : {"VexbaneIEDLL.dll", "VexbaneTray.exe", "Unhitch.exe", "CookieCleaner.dll", "Block.wav",
                             "VexbaneHelp.chm", "WebSite.dat", "uninst.exe"})
      ::DeleteFileA(File(name).c_str());
    ::RemoveDirectoryA(m_dir.c_str());
    testing::DeleteKeyTree(HKEY_LOCAL_MACHINE, settings::kProductKeyPath);
    testing::DeleteKeyTree(HKEY_LOCAL_MACHINE, settings::kMessengerKeyPath);
    testing::DeleteKeyTree(HKEY_LOCAL_MACHINE, kBhoKey);
    testing::DeleteKeyTree(HKEY_LOCAL_MACHINE, kUninstallKey);
    testing::DeleteKeyTree(HKEY_CLASSES_ROOT, kHelperClsidKey);
  }

  std::string File(const char* name) const { return m_dir + "\\" + name; }

  static long Install() { return RunAndPump(std::string("\"") + VEXBANE_TEST_SETUP + "\" /S"); }
  // Without _?= the uninstaller copies itself to the temporary folder and returns at once.
  long Uninstall() const { return RunAndPump("\"" + File("uninst.exe") + "\" /S _?=" + m_dir); }

  std::string m_dir;
};

TEST_F(InstallerTest, SilentInstallPutsFilesSettingsRegistrationsAndUninstallEntryInPlace) {
  ASSERT_EQ(Install(), 0);

  for (const char* name : {"VexbaneIEDLL.dll", "VexbaneTray.exe", "Unhitch.exe", "uninst.exe"})
    EXPECT_EQ(FileStart(File(name), 2), "MZ") << name;
  EXPECT_EQ(FileStart(File("Block.wav"), 4), "RIFF");
  EXPECT_EQ(FileStart(File("VexbaneHelp.chm"), 4), "ITSF");
  EXPECT_FALSE(FileExists(File("WebSite.dat"))) << "the allow list is created on first use";
#if VEXBANE_WITH_COOKIECLEANER
  constexpr char kCookieClsidKey[] = "CLSID\\{F0C52155-37F1-4866-B3E7-5388E9CA4515}";
  EXPECT_EQ(FileStart(File("CookieCleaner.dll"), 2), "MZ");
  std::string cookieServer = RawString(HKEY_CLASSES_ROOT, (std::string(kCookieClsidKey) + "\\InprocServer32").c_str(), "");
  EXPECT_EQ(_stricmp(cookieServer.c_str(), File("CookieCleaner.dll").c_str()), 0) << cookieServer;
#endif

  // The settings key exists with the first-run level; the values the programs fill are left to them.
  EXPECT_EQ(RawString(HKEY_LOCAL_MACHINE, settings::kProductKeyPath, settings::kPopup), "2");
  EXPECT_EQ(RawString(HKEY_LOCAL_MACHINE, settings::kProductKeyPath, settings::kCountIE), "<missing>");
  EXPECT_EQ(RawString(HKEY_LOCAL_MACHINE, settings::kProductKeyPath, settings::kAutoClean), "<missing>");

  std::string helperServer = RawString(HKEY_CLASSES_ROOT, (std::string(kHelperClsidKey) + "\\InprocServer32").c_str(), "");
  EXPECT_EQ(_stricmp(helperServer.c_str(), File("VexbaneIEDLL.dll").c_str()), 0) << helperServer;
  EXPECT_TRUE(testing::KeyExists(HKEY_LOCAL_MACHINE, kBhoKey));

  EXPECT_EQ(RawString(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayName"), "Vexbane");
  EXPECT_EQ(RawString(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayVersion"), "5.0");
  EXPECT_EQ(RawString(HKEY_LOCAL_MACHINE, kUninstallKey, "Publisher"), "Halvern");
  EXPECT_EQ(RawString(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString"), "\"" + File("uninst.exe") + "\"");

  ASSERT_EQ(Uninstall(), 0);
}

TEST_F(InstallerTest, InstallEndsARunningTrayProgramFirst) {
  StandInTray tray;
  ASSERT_TRUE(tray.Created());
  ASSERT_EQ(Install(), 0);
  EXPECT_EQ(tray.Clicks(), 1);
  EXPECT_FALSE(tray.Running());
  ASSERT_EQ(Uninstall(), 0);
}

TEST_F(InstallerTest, ReinstallKeepsTheUsersLevel) {
  ASSERT_EQ(Install(), 0);
  testing::WriteRawString(HKEY_LOCAL_MACHINE, settings::kProductKeyPath, settings::kPopup, "4");
  ASSERT_EQ(Install(), 0);
  EXPECT_EQ(RawString(HKEY_LOCAL_MACHINE, settings::kProductKeyPath, settings::kPopup), "4");
  ASSERT_EQ(Uninstall(), 0);
}

TEST_F(InstallerTest, SilentUninstallRunsUnhitchEndsTheTrayAndRemovesEverything) {
  ASSERT_EQ(Install(), 0);
  ASSERT_TRUE(testing::CreateKey(HKEY_LOCAL_MACHINE, settings::kMessengerKeyPath));
  testing::WriteRawDword(HKEY_LOCAL_MACHINE, settings::kMessengerKeyPath, settings::kMessengerStart, 3);
  testing::WriteRawString(HKEY_LOCAL_MACHINE, settings::kProductKeyPath, settings::kHButton, "1234");
  {
    HANDLE f = ::CreateFileA(File("WebSite.dat").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    ::CloseHandle(f);
  }
  StandInTray tray;
  ASSERT_TRUE(tray.Created());

  ASSERT_EQ(Uninstall(), 0);

  // Unhitch ran to its end before the uninstaller went on.
  DWORD start = 0;
  EXPECT_TRUE(testing::ReadRawDword(HKEY_LOCAL_MACHINE, settings::kMessengerKeyPath, settings::kMessengerStart, start));
  EXPECT_EQ(start, 2u);
  EXPECT_EQ(tray.Clicks(), 1);
  EXPECT_FALSE(tray.Running());

  for (const char* name : {"VexbaneIEDLL.dll", "VexbaneTray.exe", "Unhitch.exe", "CookieCleaner.dll", "Block.wav",
                           "VexbaneHelp.chm", "WebSite.dat"})
    EXPECT_FALSE(FileExists(File(name))) << name;
  EXPECT_FALSE(testing::KeyExists(HKEY_LOCAL_MACHINE, settings::kProductKeyPath));
  EXPECT_FALSE(testing::KeyExists(HKEY_LOCAL_MACHINE, "Software\\Halvern"));
  EXPECT_FALSE(testing::KeyExists(HKEY_LOCAL_MACHINE, kBhoKey));
  EXPECT_FALSE(testing::KeyExists(HKEY_CLASSES_ROOT, kHelperClsidKey));
  EXPECT_FALSE(testing::KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
#if VEXBANE_WITH_COOKIECLEANER
  EXPECT_FALSE(testing::KeyExists(HKEY_CLASSES_ROOT, "CLSID\\{F0C52155-37F1-4866-B3E7-5388E9CA4515}"));
#endif
}

TEST_F(InstallerTest, TrayFormWithoutItsExitButtonIsClosedAsAWindow) {
  ASSERT_EQ(Install(), 0);
  StandInTray tray(false);
  ASSERT_TRUE(tray.Created());
  ASSERT_EQ(Uninstall(), 0);
  EXPECT_FALSE(tray.Running());
  EXPECT_FALSE(FileExists(File("VexbaneTray.exe")));
}

}  // namespace
}  // namespace vexbane
