// The stand-in browser program itself: a scenario in, one report line per event out.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "HelperFixture.h"

namespace vexbane::ext::testing {
namespace {

using BrowserHostTest = HelperTest;

// Runs browserhost.exe on `scenario` and returns its exit code; its output goes to `output`.
DWORD RunHost(const std::string& scenario, std::string& output) {
  HelperTest::RemoveFileForHost("host-out.txt");
  const std::string dir = HelperTest::FolderForHost();
  const std::string scenarioFile = dir + "\\scenario.txt";
  const std::string outFile = dir + "\\host-out.txt";
  HelperTest::WriteFileForHost("scenario.txt", scenario);
  SECURITY_ATTRIBUTES sa = {sizeof(sa), nullptr, TRUE};
  HANDLE out = ::CreateFileA(outFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &sa, CREATE_ALWAYS, 0, nullptr);
  if (out == INVALID_HANDLE_VALUE) return 999;
  std::string cmd = std::string("\"") + VEXBANE_BROWSERHOST_PATH + "\" \"" + scenarioFile + "\"";
  STARTUPINFOA si = {sizeof(si)};
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdOutput = out;
  si.hStdError = out;
  si.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
  PROCESS_INFORMATION pi = {};
  if (!::CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) {
    ::CloseHandle(out);
    return 998;
  }
  ::CloseHandle(out);
  DWORD code = 997;
  if (::WaitForSingleObject(pi.hProcess, 60000) == WAIT_OBJECT_0) ::GetExitCodeProcess(pi.hProcess, &code);
  ::CloseHandle(pi.hThread);
  ::CloseHandle(pi.hProcess);
  output = HelperTest::ReadFile("host-out.txt");
  std::string clean;
  for (char c : output)
    if (c != '\r') clean += c;
  output = clean;
  return code;
}

TEST_F(BrowserHostTest, ScenarioDrivesTheRegisteredHelperAndReportsEachEvent) {
  m_key.Set("Popup", "2");
  std::string out;
  const DWORD code = RunHost(
      "# a page opens windows\n"
      "newwindow\n"
      "newwindow\n"
      "navigate http://example.com/\n"
      "title Example\n"
      "newwindow\n"
      "dialog open\n"
      "dialog close\n"
      "second window\n"
      "newwindow\n"
      "quit\n"
      "no such command\n",
      out);
  EXPECT_EQ(code, 2u) << "an unknown line is reported and fails the run";
  EXPECT_EQ(out,
            "open IEFrame helper attached\n"
            "newwindow allowed\n"
            "newwindow blocked\n"
            "navigate http://example.com/\n"
            "title Example\n"
            "newwindow blocked\n"
            "dialog opened\n"
            "dialog closed\n"
            "open IEFrame helper attached\n"
            "newwindow allowed\n"
            "quit\n"
            "error cannot run: no such command\n");
  EXPECT_EQ(m_key.Get("Popup"), "2");
}

// The helper loads into a browser that has used up every TLS slot: its thread has no state of its
// own, and the helper stands aside there as if it were not loaded. No shared stand-in state:
// nothing is started, counted, hooked or blocked.
TEST_F(BrowserHostTest, AHelperWithoutAThreadStateStandsAside) {
  m_key.Set("Popup", "4");
  std::string out;
  const DWORD code = RunHost(
      "tls exhaust\n"
      "open\n"
      "tls release\n"
      "newwindow\n"
      "navigate http://example.com/\n"
      "newwindow\n"
      "quit\n",
      out);
  EXPECT_EQ(code, 0u) << out;
  EXPECT_EQ(out,
            "tls exhaust\n"
            "open IEFrame helper attached\n"
            "tls release\n"
            "newwindow allowed\n"
            "navigate http://example.com/\n"
            "newwindow allowed\n"
            "quit\n");
  EXPECT_EQ(HelperTest::ReadFile("started.txt"), "<missing>") << "no tray program started";
  EXPECT_EQ(m_key.Get("CountIE"), "<missing>") << "no browser window counted";
}

}  // namespace
}  // namespace vexbane::ext::testing
