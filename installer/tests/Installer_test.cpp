// The test build of setup (64-bit, or the 32-bit kind in the i686 tree), run under Wine: what it
// installs, how it upgrades a helper in use, what it refuses and puts back, and what its
// uninstaller removes. By default and as Windows 98 and NT 4.0.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/settings.h"
#include "core/setup_payload.h"
#include "testsupport/registry_fixture.h"
#include "win/version.h"

namespace vexbane {
namespace {

constexpr char kHelperClsidKey[] = "CLSID\\{A09790E7-DD00-4A83-B632-5B563423CFBB}";
constexpr char kCookieClsidKey[] = "CLSID\\{F0C52155-37F1-4866-B3E7-5388E9CA4515}";
constexpr char kBhoKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Browser Helper Objects\\"
    "{A09790E7-DD00-4A83-B632-5B563423CFBB}";
constexpr char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vexbane";
constexpr char kSessionManagerKey[] = "System\\CurrentControlSet\\Control\\Session Manager";
constexpr DWORD kRunTimeoutMs = 180000;
constexpr long kExitFailed = 1, kExitDamaged = 3, kExitRestartNeeded = 3010;

const char* const kInstalledFiles[] = {"VexbaneIEDLL.dll", "VexbaneTray.exe", "Unhitch.exe", "Block.wav",
                                       "VexbaneHelp.chm", "uninst.exe",
#if VEXBANE_WITH_COOKIECLEANER
                                       "CookieCleaner.dll",
#endif
                                       "WebSite.dat", "BlockedHost.dat", "IECookieURL.dat"};

std::string FolderPath(int csidl) {
  char path[MAX_PATH] = {};
  ::SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
  return path;
}

std::string InstallDir() { return FolderPath(CSIDL_PROGRAM_FILES) + "\\Vexbane"; }

// Where setup puts its Start-menu folder: all users' on the NT family, the user's own on the 95 family.
std::string StartMenuFolder() {
  return FolderPath(win::IsWindows9x() ? CSIDL_PROGRAMS : CSIDL_COMMON_PROGRAMS) + "\\Vexbane";
}

bool FileExists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string ReadAll(const std::string& path) {
  return testing::ReadWholeFile(path, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE).value_or("<missing>");
}

void WriteAll(const std::string& path, const std::string& data) {
  HANDLE f = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(f, INVALID_HANDLE_VALUE) << path;
  DWORD written = 0;
  ::WriteFile(f, data.data(), static_cast<DWORD>(data.size()), &written, nullptr);
  ::CloseHandle(f);
}

// The NT family's restart operations: pairs of names, each ended by a NUL (REG_MULTI_SZ).
bool ReadPendingOperations(std::string& bytes) {
  HKEY key = nullptr;
  if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSessionManagerKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
  std::vector<char> buffer(65536);
  DWORD size = static_cast<DWORD>(buffer.size());
  DWORD type = 0;
  LONG rc = ::RegQueryValueExA(key, "PendingFileRenameOperations", nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size);
  ::RegCloseKey(key);
  if (rc != ERROR_SUCCESS) return false;
  bytes.assign(buffer.data(), size);
  return true;
}

std::string RawString(HKEY root, const char* path, const char* name) {
  std::string text;
  return testing::ReadRawString(root, path, name, text) ? text : "<missing>";
}

// The files the setup under test carries, as its own reader finds them.
struct Carried {
  std::vector<PayloadFile> files;
  size_t programSize = 0;
  std::string setup;
};

const Carried& SetupContents() {
  static Carried carried = [] {
    Carried c;
    c.setup = ReadAll(VEXBANE_TEST_SETUP);
    ReadSetupPayload(reinterpret_cast<const unsigned char*>(c.setup.data()), c.setup.size(), c.files, c.programSize);
    return c;
  }();
  return carried;
}

std::string CarriedFile(const char* name) {
  for (const PayloadFile& file : SetupContents().files)
    if (file.name == name) return std::string(file.data.begin(), file.data.end());
  return "<not carried>";
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


// Setup run with its pages, driven as a user would: the window found by its caption, its buttons
// pressed by their commands, the page's texts read from its windows.
class SetupWindowDriver {
 public:
  explicit SetupWindowDriver(const std::string& switches = "") {
    std::string line = std::string("\"") + VEXBANE_TEST_SETUP + "\" " + switches;
    STARTUPINFOA si = {sizeof si};
    m_started = ::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &m_process) != FALSE;
  }
  ~SetupWindowDriver() {
    if (!m_started) return;
    if (::WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT) ::TerminateProcess(m_process.hProcess, 99);
    ::CloseHandle(m_process.hThread);
    ::CloseHandle(m_process.hProcess);
  }
  // Waits for the setup window (it shows once the carried files are checked).
  bool WaitForWindow() {
    for (int i = 0; m_started && i < 1200 && !m_window; ++i) {
      m_window = ::FindWindowA(nullptr, "Vexbane 5.0 Setup");
      if (!m_window) ::Sleep(100);
    }
    return m_window != nullptr;
  }
  void Press(int id) { ::PostMessageA(m_window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }
  // Every text of the window's controls, one a line.
  std::string Texts() {
    std::string texts;
    ::EnumChildWindows(m_window, Collect, reinterpret_cast<LPARAM>(&texts));
    return texts;
  }
  // Waits until a visible control's text begins with `start`.
  bool WaitForText(const std::string& start) {
    for (int i = 0; i < 1200; ++i) {
      if (("\n" + Texts()).find("\n" + start) != std::string::npos) return true;
      ::Sleep(100);
    }
    return false;
  }
  HWND Control(const char* text) {
    HWND found = nullptr;
    for (HWND page = ::FindWindowExA(m_window, nullptr, nullptr, nullptr); page && !found;
         page = ::FindWindowExA(m_window, page, nullptr, nullptr))
      found = ::FindWindowExA(page, nullptr, nullptr, text);
    return found;
  }
  // Answers the question the window asks in a message box.
  bool Answer(int button) {
    for (int i = 0; i < 100; ++i) {
      HWND box = ::FindWindowA("#32770", "Vexbane 5.0 Setup");
      if (box) {
        ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
        return true;
      }
      ::Sleep(100);
    }
    return false;
  }
  long ExitCode() {
    if (!m_started || ::WaitForSingleObject(m_process.hProcess, kRunTimeoutMs) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    ::GetExitCodeProcess(m_process.hProcess, &code);
    return static_cast<long>(code);
  }

 private:
  static BOOL CALLBACK Collect(HWND control, LPARAM texts) {
    if (!::IsWindowVisible(control)) return TRUE;
    char text[1024] = {};
    // WM_GETTEXT: GetWindowText does not read an edit box of another process.
    ::SendMessageA(control, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    if (text[0]) *reinterpret_cast<std::string*>(texts) += std::string(text) + "\n";
    return TRUE;
  }

  PROCESS_INFORMATION m_process = {};
  bool m_started = false;
  HWND m_window = nullptr;
};

constexpr int kBackButton = 1001, kNextButton = 1002, kCancelButton = 1003;

class InstallerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_dir = InstallDir();
    Clean();
    char temp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, temp);
    m_temp = std::string(temp) + "vexbane setup test";
    ::CreateDirectoryA(m_temp.c_str(), nullptr);
    m_hadPending = ReadPendingOperations(m_pending);
    m_wininit = ReadAll(WininitPath());
  }
  void TearDown() override {
    Clean();
    for (const char* name : {"VexbaneSetup.exe", "uninst.exe"}) ::DeleteFileA((m_temp + "\\" + name).c_str());
    ::RemoveDirectoryA(m_temp.c_str());
    // The restart operations a test asked for are not left to the next Wine session.
    if (m_hadPending)
      testing::WriteRawBytes(HKEY_LOCAL_MACHINE, kSessionManagerKey, "PendingFileRenameOperations", REG_MULTI_SZ,
                             m_pending.data(), static_cast<DWORD>(m_pending.size()));
    else
      testing::DeleteValue(HKEY_LOCAL_MACHINE, kSessionManagerKey, "PendingFileRenameOperations");
    if (m_wininit == "<missing>")
      ::DeleteFileA(WininitPath().c_str());
    else
      WriteAll(WininitPath(), m_wininit);
  }

  void Clean() {
    RemoveFolder(m_dir);
    RemoveFolder(StartMenuFolder());
    ::SetFileAttributesA(StartMenuFolder().c_str(), FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileA(StartMenuFolder().c_str());
    testing::DeleteKeyTree(HKEY_LOCAL_MACHINE, settings::kProductKeyPath);
    testing::DeleteKeyTree(HKEY_LOCAL_MACHINE, "Software\\Halvern");
    testing::DeleteKeyTree(HKEY_LOCAL_MACHINE, settings::kMessengerKeyPath);
    testing::DeleteKeyTree(HKEY_LOCAL_MACHINE, kBhoKey);
    testing::DeleteKeyTree(HKEY_LOCAL_MACHINE, kUninstallKey);
    testing::DeleteKeyTree(HKEY_CLASSES_ROOT, kHelperClsidKey);
    testing::DeleteKeyTree(HKEY_CLASSES_ROOT, kCookieClsidKey);
  }

  static void RemoveFolder(const std::string& folder) {
    WIN32_FIND_DATAA found;
    HANDLE find = ::FindFirstFileA((folder + "\\*").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
      do {
        std::string path = folder + "\\" + found.cFileName;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileA(path.c_str());
      } while (::FindNextFileA(find, &found));
      ::FindClose(find);
    }
    ::RemoveDirectoryA(folder.c_str());
  }

  static std::string WininitPath() {
    char windows[MAX_PATH] = {};
    ::GetWindowsDirectoryA(windows, MAX_PATH);
    return std::string(windows) + "\\WININIT.INI";
  }

  std::string File(const char* name) const { return m_dir + "\\" + name; }
  std::string StartMenuLink(const char* name) const { return StartMenuFolder() + "\\" + name; }

  static long Install(const std::string& switches = "/S") {
    return RunAndPump(std::string("\"") + VEXBANE_TEST_SETUP + "\" " + switches);
  }
  long Uninstall() const { return RunAndPump("\"" + File("uninst.exe") + "\" /S"); }

  // Nothing of ours: no file, folder, key or Start-menu entry.
  // The uninstaller's copy in the temporary folder removes uninst.exe and the folder a moment
  // after the uninstaller has ended.
  void ExpectNothingInstalled(const std::string& dir) const {
    for (int wait = 0; wait < 100 && FileExists(dir); ++wait) ::Sleep(100);
    EXPECT_FALSE(FileExists(dir)) << dir;
    EXPECT_FALSE(FileExists(StartMenuFolder())) << StartMenuFolder();
    EXPECT_FALSE(testing::KeyExists(HKEY_LOCAL_MACHINE, settings::kProductKeyPath));
    EXPECT_FALSE(testing::KeyExists(HKEY_LOCAL_MACHINE, "Software\\Halvern"));
    EXPECT_FALSE(testing::KeyExists(HKEY_LOCAL_MACHINE, kBhoKey));
    EXPECT_FALSE(testing::KeyExists(HKEY_CLASSES_ROOT, kHelperClsidKey));
    EXPECT_FALSE(testing::KeyExists(HKEY_CLASSES_ROOT, kCookieClsidKey));
    EXPECT_FALSE(testing::KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
  }

  std::string m_dir;
  std::string m_temp;
  bool m_hadPending = false;
  std::string m_pending;
  std::string m_wininit;
};

TEST_F(InstallerTest, SilentInstallPutsFilesSettingsRegistrationsShortcutsAndUninstallEntryInPlace) {
  ASSERT_EQ(SetupContents().files.size(), VEXBANE_WITH_COOKIECLEANER ? 6u : 5u) << "the setup under test carries no payload";
  ASSERT_EQ(Install(), 0);

  for (const PayloadFile& file : SetupContents().files)
    EXPECT_EQ(ReadAll(File(file.name.c_str())), std::string(file.data.begin(), file.data.end())) << file.name;
  EXPECT_EQ(ReadAll(File("Block.wav")).substr(0, 4), "RIFF");
  EXPECT_EQ(ReadAll(File("VexbaneHelp.chm")).substr(0, 4), "ITSF");
  // The uninstaller is setup's own program without the files it carries.
  const Carried& carried = SetupContents();
  EXPECT_EQ(ReadAll(File("uninst.exe")), carried.setup.substr(0, carried.programSize));
  // The lists exist, empty, for the programs (and an account's rights) to find.
  for (const char* name : {"WebSite.dat", "BlockedHost.dat", "IECookieURL.dat"}) EXPECT_EQ(ReadAll(File(name)), "") << name;
#if VEXBANE_WITH_COOKIECLEANER
  std::string cookieServer = RawString(HKEY_CLASSES_ROOT, (std::string(kCookieClsidKey) + "\\InprocServer32").c_str(), "");
  EXPECT_EQ(_stricmp(cookieServer.c_str(), File("CookieCleaner.dll").c_str()), 0) << cookieServer;
#endif

  // The first-run level and the cookie cleaning as the product's default; the rest is the programs'.
  EXPECT_EQ(RawString(HKEY_LOCAL_MACHINE, settings::kProductKeyPath, settings::kPopup), "2");
  EXPECT_EQ(RawString(HKEY_LOCAL_MACHINE, settings::kProductKeyPath, settings::kAutoClean), "1");
  EXPECT_EQ(RawString(HKEY_LOCAL_MACHINE, settings::kProductKeyPath, settings::kCountIE), "<missing>");

  std::string helperServer = RawString(HKEY_CLASSES_ROOT, (std::string(kHelperClsidKey) + "\\InprocServer32").c_str(), "");
  EXPECT_EQ(_stricmp(helperServer.c_str(), File("VexbaneIEDLL.dll").c_str()), 0) << helperServer;
  EXPECT_EQ(RawString(HKEY_LOCAL_MACHINE, kBhoKey, ""), "VexbaneIEDLL");

  EXPECT_EQ(RawString(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayName"), "Vexbane");
  EXPECT_EQ(RawString(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayVersion"), "5.0");
  EXPECT_EQ(RawString(HKEY_LOCAL_MACHINE, kUninstallKey, "Publisher"), "Halvern");
  EXPECT_EQ(RawString(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayIcon"), File("VexbaneTray.exe"));
  EXPECT_EQ(RawString(HKEY_LOCAL_MACHINE, kUninstallKey, "InstallLocation"), m_dir);
  EXPECT_EQ(RawString(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString"), "\"" + File("uninst.exe") + "\"");
  EXPECT_EQ(RawString(HKEY_LOCAL_MACHINE, kUninstallKey, "QuietUninstallString"), "\"" + File("uninst.exe") + "\" /S");
  for (const char* name : {"NoModify", "NoRepair"}) {
    DWORD value = 0;
    EXPECT_TRUE(testing::ReadRawDword(HKEY_LOCAL_MACHINE, kUninstallKey, name, value)) << name;
    EXPECT_EQ(value, 1u) << name;
  }
  EXPECT_EQ(ReadAll(StartMenuLink("Vexbane Help.lnk")).substr(0, 4), std::string("L\0\0\0", 4));
  EXPECT_EQ(ReadAll(StartMenuLink("Uninstall Vexbane.lnk")).substr(0, 4), std::string("L\0\0\0", 4));

  ASSERT_EQ(Uninstall(), 0);
  ExpectNothingInstalled(m_dir);
}

TEST_F(InstallerTest, AutoCleanIsWrittenFromTheSwitchAndKeptByALaterSetup) {
  ASSERT_EQ(Install("/S /AUTOCLEAN=0"), 0);
  EXPECT_EQ(RawString(HKEY_LOCAL_MACHINE, settings::kProductKeyPath, settings::kAutoClean), "0");
  // A setup without the switch offers (and, silent, keeps) the choice made before.
  ASSERT_EQ(Install(), 0);
  EXPECT_EQ(RawString(HKEY_LOCAL_MACHINE, settings::kProductKeyPath, settings::kAutoClean), "0");
  ASSERT_EQ(Install("/S /AUTOCLEAN=1"), 0);
  EXPECT_EQ(RawString(HKEY_LOCAL_MACHINE, settings::kProductKeyPath, settings::kAutoClean), "1");
  // Anything but 0 or 1 is refused before anything changes.
  EXPECT_EQ(Install("/S /AUTOCLEAN=yes"), 4);
  EXPECT_EQ(RawString(HKEY_LOCAL_MACHINE, settings::kProductKeyPath, settings::kAutoClean), "1");
  ASSERT_EQ(Uninstall(), 0);
}

TEST_F(InstallerTest, BadSwitchesChangeNothing) {
  EXPECT_EQ(Install("/S /AUTOCLEAN=2"), 4);
  EXPECT_EQ(Install("/S /D=Vexbane"), 4);
  EXPECT_EQ(Install("/S /D=C:Vexbane"), 4);
  ExpectNothingInstalled(m_dir);
}

TEST_F(InstallerTest, InstallEndsARunningTrayProgramFirst) {
  StandInTray tray;
  ASSERT_TRUE(tray.Created());
  ASSERT_EQ(Install(), 0);
  EXPECT_EQ(tray.Clicks(), 1);
  EXPECT_FALSE(tray.Running());
  ASSERT_EQ(Uninstall(), 0);
}

TEST_F(InstallerTest, ReinstallKeepsTheUsersLevelAndLists) {
  ASSERT_EQ(Install(), 0);
  testing::WriteRawString(HKEY_LOCAL_MACHINE, settings::kProductKeyPath, settings::kPopup, "4");
  WriteAll(File("WebSite.dat"), "1\r\nbank.example\r\n");
  ASSERT_EQ(Install(), 0);
  EXPECT_EQ(RawString(HKEY_LOCAL_MACHINE, settings::kProductKeyPath, settings::kPopup), "4");
  EXPECT_EQ(ReadAll(File("WebSite.dat")), "1\r\nbank.example\r\n");
  ASSERT_EQ(Uninstall(), 0);
}

TEST_F(InstallerTest, SilentInstallAndUninstallInAFolderWithSpaces) {
  const std::string dir = "C:\\Vexbane Test Folder\\Pop-up Blocker";
  ASSERT_EQ(Install("/S /D=" + dir), 0);
  EXPECT_EQ(ReadAll(dir + "\\VexbaneTray.exe").substr(0, 2), "MZ");
  EXPECT_FALSE(FileExists(m_dir));
  EXPECT_EQ(RawString(HKEY_LOCAL_MACHINE, kUninstallKey, "InstallLocation"), dir);
  EXPECT_EQ(RunAndPump("\"" + dir + "\\uninst.exe\" /S"), 0);
  ExpectNothingInstalled(dir);
  ::RemoveDirectoryA("C:\\Vexbane Test Folder");
}

TEST_F(InstallerTest, SilentUninstallRunsUnhitchEndsTheTrayAndRemovesEverythingTheProgramsWrote) {
  ASSERT_EQ(Install(), 0);
  ASSERT_TRUE(testing::CreateKey(HKEY_LOCAL_MACHINE, settings::kMessengerKeyPath));
  testing::WriteRawDword(HKEY_LOCAL_MACHINE, settings::kMessengerKeyPath, settings::kMessengerStart, 3);
  testing::WriteRawString(HKEY_LOCAL_MACHINE, settings::kProductKeyPath, settings::kHButton, "1234");
  // The lists, a save's set-aside copy and a save's temporary file.
  WriteAll(File("BlockedHost.dat"), "1\r\nads.example\r\n");
  WriteAll(File("WebSite.dat.old"), "0\r\n");
  WriteAll(File("vxb1A2.tmp"), "");
  StandInTray tray;
  ASSERT_TRUE(tray.Created());

  ASSERT_EQ(Uninstall(), 0);

  // Unhitch ran to its end before the uninstaller went on.
  DWORD start = 0;
  EXPECT_TRUE(testing::ReadRawDword(HKEY_LOCAL_MACHINE, settings::kMessengerKeyPath, settings::kMessengerStart, start));
  EXPECT_EQ(start, 2u);
  EXPECT_EQ(tray.Clicks(), 1);
  EXPECT_FALSE(tray.Running());
  ExpectNothingInstalled(m_dir);
}

TEST_F(InstallerTest, UninstallWorksWithUnhitchMissing) {
  ASSERT_EQ(Install(), 0);
  ASSERT_TRUE(::DeleteFileA(File("Unhitch.exe").c_str()));
  ASSERT_EQ(Uninstall(), 0);
  ExpectNothingInstalled(m_dir);
}

TEST_F(InstallerTest, TrayFormWithoutItsExitButtonIsClosedAsAWindow) {
  ASSERT_EQ(Install(), 0);
  StandInTray tray(false);
  ASSERT_TRUE(tray.Created());
  ASSERT_EQ(Uninstall(), 0);
  EXPECT_FALSE(tray.Running());
  EXPECT_FALSE(FileExists(File("VexbaneTray.exe")));
}

TEST_F(InstallerTest, TruncatedOrDamagedSetupChangesNothingAndSaysSo) {
  const std::string& setup = SetupContents().setup;
  ASSERT_GT(setup.size(), 100000u);
  const std::string copy = m_temp + "\\VexbaneSetup.exe";
  struct Case {
    const char* what;
    std::string bytes;
  };
  std::string flipped = setup;
  flipped[SetupContents().programSize + (setup.size() - SetupContents().programSize) / 2] ^= 0x01;
  for (const Case& c : {Case{"cut short", setup.substr(0, setup.size() - 4096)},
                        Case{"cut inside the header", setup.substr(0, SetupContents().programSize + 30)},
                        Case{"one byte flipped", flipped}}) {
    WriteAll(copy, c.bytes);
    EXPECT_EQ(RunAndPump("\"" + copy + "\" /S"), kExitDamaged) << c.what;
    ExpectNothingInstalled(m_dir);
  }
}

TEST_F(InstallerTest, FailingStepPutsBackEveryFileAndKeyThatWasThere) {
  // An earlier copy's files, and the Start-menu folder's place taken by a file: the last step fails.
  ASSERT_TRUE(::CreateDirectoryA(m_dir.c_str(), nullptr));
  WriteAll(File("VexbaneTray.exe"), "earlier tray program");
  WriteAll(File("WebSite.dat"), "1\r\nkept.example\r\n");
  testing::WriteRawString(HKEY_LOCAL_MACHINE, settings::kProductKeyPath, settings::kAutoClean, "0");
  WriteAll(StartMenuFolder(), "in the way");

  EXPECT_EQ(Install("/S /AUTOCLEAN=1"), kExitFailed);

  EXPECT_EQ(ReadAll(File("VexbaneTray.exe")), "earlier tray program");
  EXPECT_EQ(ReadAll(File("WebSite.dat")), "1\r\nkept.example\r\n");
  for (const char* name : {"VexbaneIEDLL.dll", "Unhitch.exe", "Block.wav", "VexbaneHelp.chm", "uninst.exe",
                           "CookieCleaner.dll", "BlockedHost.dat", "IECookieURL.dat"})
    EXPECT_FALSE(FileExists(File(name))) << name;
  WIN32_FIND_DATAA found;
  HANDLE find = ::FindFirstFileA(File("vx*.tmp").c_str(), &found);
  EXPECT_EQ(find, INVALID_HANDLE_VALUE) << "a kept copy stayed behind: " << found.cFileName;
  if (find != INVALID_HANDLE_VALUE) ::FindClose(find);
  EXPECT_EQ(RawString(HKEY_LOCAL_MACHINE, settings::kProductKeyPath, settings::kAutoClean), "0");
  EXPECT_EQ(RawString(HKEY_LOCAL_MACHINE, settings::kProductKeyPath, settings::kPopup), "<missing>");
  EXPECT_FALSE(testing::KeyExists(HKEY_LOCAL_MACHINE, kBhoKey));
  EXPECT_FALSE(testing::KeyExists(HKEY_CLASSES_ROOT, kHelperClsidKey));
  EXPECT_FALSE(testing::KeyExists(HKEY_CLASSES_ROOT, kCookieClsidKey));
  EXPECT_FALSE(testing::KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
  EXPECT_EQ(ReadAll(StartMenuFolder()), "in the way");
}

TEST_F(InstallerTest, ReadOnlyFileInTheWayFailsTheInstallAndNothingIsLeft) {
  ASSERT_TRUE(::CreateDirectoryA(m_dir.c_str(), nullptr));
  WriteAll(File("VexbaneHelp.chm"), "the user's own help file");
  ASSERT_TRUE(::SetFileAttributesA(File("VexbaneHelp.chm").c_str(), FILE_ATTRIBUTE_READONLY));

  EXPECT_EQ(Install(), kExitFailed);

  EXPECT_EQ(ReadAll(File("VexbaneHelp.chm")), "the user's own help file");
  for (const char* name : {"VexbaneIEDLL.dll", "VexbaneTray.exe", "Unhitch.exe", "Block.wav", "uninst.exe",
                           "WebSite.dat"})
    EXPECT_FALSE(FileExists(File(name))) << name;
  EXPECT_FALSE(testing::KeyExists(HKEY_LOCAL_MACHINE, "Software\\Halvern"));
  EXPECT_FALSE(testing::KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
}

// Short (8.3) form of an existing path, in capitals as WININIT.INI lines compare.
std::string ShortName(const std::string& path) {
  char shortPath[MAX_PATH] = {};
  DWORD length = ::GetShortPathNameA(path.c_str(), shortPath, MAX_PATH);
  return length ? std::string(shortPath, length) : path;
}

TEST_F(InstallerTest, UpgradeWhileTheHelperIsLoadedSwapsItAtTheRestart) {
  ASSERT_EQ(Install(), 0);
  // The earlier helper: loadable, told apart by a tail of its own.
  const std::string earlier = CarriedFile("VexbaneIEDLL.dll") + "EARLIER HELPER";
  const std::string helper = File("VexbaneIEDLL.dll");
  WriteAll(helper, earlier);
  // Loaded as a browser window holds it.
  HMODULE loaded = ::LoadLibraryExA(helper.c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES);
  ASSERT_NE(loaded, nullptr);

  const long code = Install();
  EXPECT_EQ(code, kExitRestartNeeded);
  EXPECT_EQ(ReadAll(File("VexbaneTray.exe")), CarriedFile("VexbaneTray.exe"));
  if (win::IsWindows9x()) {
    // The file in use stays; the new one waits beside it for WININIT.INI to swap them.
    EXPECT_EQ(ReadAll(helper), earlier);
    std::string wininit = ReadAll(WininitPath());
    const std::string prefix = ShortName(helper) + "=";
    size_t line = wininit.find(prefix);
    ASSERT_NE(line, std::string::npos) << wininit;
    EXPECT_NE(wininit.find("[rename]"), std::string::npos);
    size_t end = wininit.find("\r\n", line);
    const std::string waiting = wininit.substr(line + prefix.size(), end - line - prefix.size());
    EXPECT_EQ(ReadAll(waiting), CarriedFile("VexbaneIEDLL.dll")) << waiting;
    ::FreeLibrary(loaded);
    ::DeleteFileA(waiting.c_str());
  } else {
    // The new file is in place; the earlier one, renamed aside, goes at the restart.
    EXPECT_EQ(ReadAll(helper), CarriedFile("VexbaneIEDLL.dll"));
    std::string pending;
    ASSERT_TRUE(ReadPendingOperations(pending));
    WIN32_FIND_DATAA found;
    HANDLE find = ::FindFirstFileA(File("vxo*.tmp").c_str(), &found);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    ::FindClose(find);
    const std::string aside = File(found.cFileName);
    EXPECT_EQ(ReadAll(aside), earlier);
    EXPECT_NE(pending.find(found.cFileName), std::string::npos) << "the aside copy is not deleted at the restart";
    ::FreeLibrary(loaded);
  }
  EXPECT_EQ(RawString(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayVersion"), "5.0");
  ASSERT_EQ(Uninstall(), 0);
}

TEST_F(InstallerTest, PagesShowTheVersionTheFolderAndTheCookieChoiceAndTheLastPageSaysWhatHappened) {
  SetupWindowDriver setup;
  ASSERT_TRUE(setup.WaitForWindow());
  EXPECT_TRUE(setup.WaitForText("Welcome to Vexbane 5.0 Setup")) << setup.Texts();
  setup.Press(kNextButton);
  ASSERT_TRUE(setup.WaitForText("Choose the folder")) << setup.Texts();
  EXPECT_NE(setup.Texts().find(m_dir + "\n"), std::string::npos) << "the default folder: " << setup.Texts();
  HWND autoClean = setup.Control(
      "&Delete every cookie except the ones you keep in the Cookie Manager whenever the last Internet Explorer window closes");
  ASSERT_NE(autoClean, nullptr) << setup.Texts();
  EXPECT_EQ(::SendMessageA(autoClean, BM_GETCHECK, 0, 0), BST_CHECKED) << "preset as the product's default";
  // The user unticks it: setup writes "0".
  ::PostMessageA(autoClean, BM_CLICK, 0, 0);
  ::Sleep(300);
  setup.Press(kNextButton);
  ASSERT_TRUE(setup.WaitForText("Vexbane 5.0 is installed")) << setup.Texts();
  EXPECT_NE(setup.Texts().find("Vexbane 5.0 has been installed in " + m_dir + "."), std::string::npos) << setup.Texts();
  setup.Press(kNextButton);
  EXPECT_EQ(setup.ExitCode(), 0);
  EXPECT_EQ(RawString(HKEY_LOCAL_MACHINE, settings::kProductKeyPath, settings::kAutoClean), "0");
  ASSERT_EQ(Uninstall(), 0);
}

TEST_F(InstallerTest, CancelBeforeCopyingChangesNothing) {
  SetupWindowDriver setup;
  ASSERT_TRUE(setup.WaitForWindow());
  setup.Press(kNextButton);
  ASSERT_TRUE(setup.WaitForText("Choose the folder")) << setup.Texts();
  setup.Press(kBackButton);
  ASSERT_TRUE(setup.WaitForText("Welcome to Vexbane 5.0 Setup")) << setup.Texts();
  setup.Press(kCancelButton);
  ASSERT_TRUE(setup.Answer(IDYES));
  EXPECT_EQ(setup.ExitCode(), 2);
  ExpectNothingInstalled(m_dir);
}

TEST_F(InstallerTest, LastPageSaysARestartIsNeededWhenTheHelperWasInUse) {
  ASSERT_EQ(Install(), 0);
  const std::string helper = File("VexbaneIEDLL.dll");
  WriteAll(helper, CarriedFile("VexbaneIEDLL.dll") + "EARLIER HELPER");
  HMODULE loaded = ::LoadLibraryExA(helper.c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES);
  ASSERT_NE(loaded, nullptr);
  {
    SetupWindowDriver setup;
    ASSERT_TRUE(setup.WaitForWindow());
    setup.Press(kNextButton);
    ASSERT_TRUE(setup.WaitForText("Choose the folder")) << setup.Texts();
    setup.Press(kNextButton);
    ASSERT_TRUE(setup.WaitForText("Restart Windows to finish")) << setup.Texts();
    EXPECT_NE(setup.Texts().find("The new helper works in browser windows opened after that restart"), std::string::npos)
        << setup.Texts();
    setup.Press(kNextButton);
    EXPECT_EQ(setup.ExitCode(), kExitRestartNeeded);
  }
  ::FreeLibrary(loaded);
  // Windows 98's swap waits in WININIT.INI; the waiting copy goes with the test.
  WIN32_FIND_DATAA found;
  HANDLE find = ::FindFirstFileA(File("vxn*.tmp").c_str(), &found);
  if (find != INVALID_HANDLE_VALUE) {
    ::DeleteFileA(File(found.cFileName).c_str());
    ::FindClose(find);
  }
  ASSERT_EQ(Uninstall(), 0);
}

}  // namespace
}  // namespace vexbane
