// Unhitch.exe run as a process: the Messenger value it writes and the warning box it shows.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/settings.h"
#include "testsupport/registry_fixture.h"
#include "test_windows.h"

namespace vexbane {
namespace {

using testing::BoxSnapshot;
using testing::FindUnhitchBox;
using testing::ReadBox;

constexpr DWORD kExitWaitMs = 30000;

class UnhitchProcess : public ::testing::Test {
 protected:
  void SetUp() override { testing::DeleteKeyTree(HKEY_LOCAL_MACHINE, settings::kMessengerKeyPath); }
  void TearDown() override {
    if (m_process) {
      ::TerminateProcess(m_process, 1);
      ::CloseHandle(m_process);
    }
    testing::DeleteKeyTree(HKEY_LOCAL_MACHINE, settings::kMessengerKeyPath);
  }

  void StartUnhitch() {
    std::string commandLine = std::string("\"") + VEXBANE_UNHITCH_EXE + "\"";
    STARTUPINFOA si = {sizeof si};
    PROCESS_INFORMATION pi = {};
    ASSERT_TRUE(::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        << "cannot start " << VEXBANE_UNHITCH_EXE;
    ::CloseHandle(pi.hThread);
    m_process = pi.hProcess;
    m_started = ::GetTickCount();
  }

  // Waits for the program to end, counting the warning boxes that appear meanwhile.
  DWORD WaitForExit(int& boxesSeen, HWND alreadySeen = nullptr) {
    boxesSeen = 0;
    HWND lastBox = alreadySeen;
    const DWORD deadline = ::GetTickCount() + kExitWaitMs;
    while (::WaitForSingleObject(m_process, 20) == WAIT_TIMEOUT) {
      if (::GetTickCount() > deadline) return WAIT_TIMEOUT;
      HWND box = FindUnhitchBox();
      if (box && box != lastBox) {
        ++boxesSeen;
        lastBox = box;
      }
    }
    m_elapsed = ::GetTickCount() - m_started;
    DWORD code = 0;
    ::GetExitCodeProcess(m_process, &code);
    return code;
  }

  static void CreateMessengerKeyWithStart(DWORD start) {
    ASSERT_TRUE(testing::CreateKey(HKEY_LOCAL_MACHINE, settings::kMessengerKeyPath));
    testing::WriteRawDword(HKEY_LOCAL_MACHINE, settings::kMessengerKeyPath, settings::kMessengerStart, start);
  }

  static bool ReadStart(DWORD& start) {
    return testing::ReadRawDword(HKEY_LOCAL_MACHINE, settings::kMessengerKeyPath, settings::kMessengerStart, start);
  }

  HANDLE m_process = nullptr;
  DWORD m_started = 0;
  DWORD m_elapsed = 0;
};

TEST_F(UnhitchProcess, WithNoBrowserWindowsPausesWritesAutomaticStartAndShowsNoBox) {
  CreateMessengerKeyWithStart(3);
  StartUnhitch();
  int boxes = -1;
  EXPECT_EQ(WaitForExit(boxes), 0u);
  EXPECT_EQ(boxes, 0);
  // The two pauses around the final check (200 ms and 400 ms) happen even with nothing to close.
  EXPECT_GE(m_elapsed, 550u);
  DWORD start = 0;
  ASSERT_TRUE(ReadStart(start));
  EXPECT_EQ(start, 2u);
}

TEST_F(UnhitchProcess, StartIsWrittenEvenWhenItAlreadyReadsAsTwo) {
  // The same four bytes as DWORD 2, stored under another type: a program that read the value
  // first and skipped an unneeded write would leave it like this.
  ASSERT_TRUE(testing::CreateKey(HKEY_LOCAL_MACHINE, settings::kMessengerKeyPath));
  const DWORD two = 2;
  testing::WriteRawBytes(HKEY_LOCAL_MACHINE, settings::kMessengerKeyPath, settings::kMessengerStart, REG_BINARY,
                         &two, sizeof two);
  StartUnhitch();
  int boxes = -1;
  EXPECT_EQ(WaitForExit(boxes), 0u);
  DWORD start = 0;
  ASSERT_TRUE(ReadStart(start)) << "Start is not a REG_DWORD after the run";
  EXPECT_EQ(start, 2u);
}

TEST_F(UnhitchProcess, WithoutMessengerServiceCreatesNothingAndEndsNormally) {
  StartUnhitch();
  int boxes = -1;
  EXPECT_EQ(WaitForExit(boxes), 0u);
  EXPECT_FALSE(testing::KeyExists(HKEY_LOCAL_MACHINE, settings::kMessengerKeyPath));
}

TEST_F(UnhitchProcess, FrameOutsideShellCollectionBringsTheWarningOnceThenStartIsWritten) {
  testing::StandInFrame frame("IEFrame", "Stand-in browser");
  ASSERT_TRUE(frame.hwnd());
  CreateMessengerKeyWithStart(3);
  StartUnhitch();

  HWND box = testing::WaitForUnhitchBox(10000);
  ASSERT_TRUE(box) << "no warning box appeared";
  BoxSnapshot seen = ReadBox(box);
  EXPECT_EQ(seen.caption, "Unhitch");
  EXPECT_EQ(seen.text, "Please close all opened IE browsers first, then click the OK button!");
  ASSERT_EQ(seen.buttons.size(), 1u) << "only an OK button";
  EXPECT_EQ(seen.buttonIds[0], IDOK);
  EXPECT_TRUE(seen.hasIcon) << "the exclamation icon";

  // The program waits for the user before it touches the Messenger value.
  ::Sleep(300);
  DWORD start = 0;
  ASSERT_TRUE(ReadStart(start));
  EXPECT_EQ(start, 3u);
  EXPECT_EQ(::WaitForSingleObject(m_process, 0), static_cast<DWORD>(WAIT_TIMEOUT));

  testing::PressOk(box);
  int moreBoxes = -1;
  EXPECT_EQ(WaitForExit(moreBoxes, box), 0u);
  EXPECT_EQ(moreBoxes, 0) << "the warning comes once";
  ASSERT_TRUE(ReadStart(start));
  EXPECT_EQ(start, 2u);
}

}  // namespace
}  // namespace vexbane
