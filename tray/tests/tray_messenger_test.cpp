// Messenger-service control: the start-up steps and the two commands, observed through the
// "Start" value and the launches of a recording NET.EXE placed in the scratch system folder.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "tray_test_support.h"

namespace vexbane::tray::testing {
namespace {

constexpr char kLaunchLog[] = "net-launches.txt";

// A copy of this test program named NET.EXE records how it was started and ends before the
// tests run: the parameters after the program name, and the show state it was given.
std::string ParametersOf(const char* commandLine) {
  const char* p = commandLine;
  if (*p == '"') {
    p = std::strchr(p + 1, '"');
    p = p ? p + 1 : commandLine + std::strlen(commandLine);
  } else {
    while (*p && *p != ' ') ++p;
  }
  while (*p == ' ') ++p;
  return p;
}

const bool g_recordedAsNet = [] {
  char path[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string self(path);
  size_t slash = self.find_last_of("\\/");
  if (slash == std::string::npos || _stricmp(self.c_str() + slash + 1, "NET.EXE") != 0) return false;
  STARTUPINFOA startup = {sizeof startup};
  ::GetStartupInfoA(&startup);
  const int show = (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : -1;
  std::string line = ParametersOf(::GetCommandLineA()) + "|show=" + std::to_string(show) + "\r\n";
  std::string log = self.substr(0, slash + 1) + kLaunchLog;
  if (FILE* f = std::fopen(log.c_str(), "ab")) {
    std::fwrite(line.data(), 1, line.size(), f);
    std::fclose(f);
  }
  ::ExitProcess(0);
}();

constexpr char kMessengerKey[] = "System\\CurrentControlSet\\Services\\Messenger";

class Messenger : public TrayFormFixture {
 protected:
  void SetUp() override {
    TrayFormFixture::SetUp();
    char self[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    ASSERT_TRUE(::CopyFileA(self, m_folder.File("NET.EXE").c_str(), FALSE));
    vexbane::testing::CreateKey(HKEY_LOCAL_MACHINE, kMessengerKey);
  }
  void TearDown() override {
    TrayFormFixture::TearDown();
    vexbane::testing::DeleteKeyTree(HKEY_LOCAL_MACHINE, kMessengerKey);
  }

  void SetStart(int start) {
    if (start < 0)
      vexbane::testing::DeleteValue(HKEY_LOCAL_MACHINE, kMessengerKey, "Start");
    else
      vexbane::testing::WriteRawDword(HKEY_LOCAL_MACHINE, kMessengerKey, "Start", static_cast<DWORD>(start));
  }
  int Start() {
    DWORD value = 0;
    return vexbane::testing::ReadRawDword(HKEY_LOCAL_MACHINE, kMessengerKey, "Start", value)
               ? static_cast<int>(value)
               : -1;
  }
  // The launches recorded so far; waits up to `waitMs` for the first one to appear.
  std::string Launches(DWORD waitMs) {
    DWORD start = ::GetTickCount();
    std::string log;
    do {
      log = m_folder.Read(kLaunchLog);
      if (log != "<missing>" && !log.empty()) return log;
      ::Sleep(50);
    } while (::GetTickCount() - start < waitMs);
    return "";
  }
  void ClearLaunches() { ::DeleteFileA(m_folder.File(kLaunchLog).c_str()); }
};

TEST_F(Messenger, StartUpByTheSettingAndTheStartValue) {
  struct Case {
    const char* setting;  // null: no value
    int start;            // -1: no value
    const char* settingAfter;
    int startAfter;
    bool stops;
    bool blockChecked;
  } cases[] = {
      {nullptr, 2, "1", 3, true, true},
      {nullptr, 3, "<missing>", 3, false, true},
      {nullptr, 4, "<missing>", 4, false, true},  // disabled already blocks: never weakened
      {nullptr, -1, "1", 3, true, true},
      {"0", 2, "0", 2, false, false},
      {"0", -1, "0", -1, false, false},
      {"2", 3, "1", 3, true, true},
      {"2", 4, "1", 4, false, true},
      {"2", -1, "1", 3, true, true},
      {"abc", 2, "abc", 2, false, false},
      {"1", 4, "1", 4, false, true},
  };
  for (const auto& c : cases) {
    const std::string name = std::string(c.setting ? c.setting : "missing") + "/" + std::to_string(c.start);
    if (c.setting) m_key.Set("BlockMessenger", c.setting); else m_key.Remove("BlockMessenger");
    SetStart(c.start);
    ClearLaunches();
    LoadForm();
    EXPECT_EQ(m_key.Get("BlockMessenger"), c.settingAfter) << name;
    EXPECT_EQ(Start(), c.startAfter) << name;
    TrayState s = State();
    EXPECT_EQ(s.blockMessengerChecked, c.blockChecked) << name;
    EXPECT_EQ(s.allowMessengerChecked, !c.blockChecked) << name;
    EXPECT_EQ(Launches(c.stops ? 5000 : 1000), c.stops ? "STOP Messenger|show=0\r\n" : "") << name;
    m_form.reset();
  }
}

TEST_F(Messenger, CommandsSetTheServiceAndRunNetHidden) {
  SetStart(2);
  LoadForm();
  EXPECT_EQ(Launches(300), "");

  Command(TrayItem::mnuBlockMessenger);
  EXPECT_EQ(m_key.Get("BlockMessenger"), "1");
  EXPECT_EQ(Start(), 3);
  EXPECT_TRUE(State().blockMessengerChecked);
  EXPECT_FALSE(State().allowMessengerChecked);
  EXPECT_EQ(Launches(5000), "STOP Messenger|show=0\r\n");

  ClearLaunches();
  Command(TrayItem::mnuAllowMessenger);
  EXPECT_EQ(m_key.Get("BlockMessenger"), "0");
  EXPECT_EQ(Start(), 2);
  EXPECT_FALSE(State().blockMessengerChecked);
  EXPECT_TRUE(State().allowMessengerChecked);
  EXPECT_EQ(Launches(5000), "START Messenger|show=0\r\n");
}

TEST_F(Messenger, CommandsStillRunNetWhenTheServiceKeyIsMissing) {
  vexbane::testing::DeleteKeyTree(HKEY_LOCAL_MACHINE, kMessengerKey);
  LoadForm();
  Command(TrayItem::mnuBlockMessenger);
  EXPECT_FALSE(vexbane::testing::KeyExists(HKEY_LOCAL_MACHINE, kMessengerKey));
  EXPECT_EQ(Launches(5000), "STOP Messenger|show=0\r\n");
}

}  // namespace
}  // namespace vexbane::tray::testing
