// Starting the tray program: never from a folder the helper does not know.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "TrayProgram.h"

namespace vexbane::ext {
namespace {

bool Exists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Waits up to `ms` for `path` to appear.
bool AppearsWithin(const std::string& path, DWORD ms) {
  const DWORD begin = ::GetTickCount();
  do {
    if (Exists(path)) return true;
    ::Sleep(50);
  } while (::GetTickCount() - begin < ms);
  return Exists(path);
}

// A stand-in tray program at the root of the current drive: an empty or relative folder would
// reach it as "\VexbaneTray.exe" or "VexbaneTray.exe".
class TrayProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ::GetCurrentDirectoryA(MAX_PATH, m_previous);
    char windows[MAX_PATH] = {};
    ::GetWindowsDirectoryA(windows, MAX_PATH);
    m_root = std::string(windows, 3);  // "C:\"
    m_folder = m_root + "VexbaneTrayStartTest";
    ::CreateDirectoryA(m_folder.c_str(), nullptr);
    ASSERT_TRUE(::SetCurrentDirectoryA(m_folder.c_str()));
    for (const std::string& folder : {m_root, m_folder + "\\"}) {
      ASSERT_TRUE(::CopyFileA(VEXBANE_TRAY_STANDIN_PATH, (folder + "VexbaneTray.exe").c_str(), FALSE));
      ::DeleteFileA((folder + "started.txt").c_str());
    }
  }
  void TearDown() override {
    ::SetCurrentDirectoryA(m_previous);
    for (const std::string& folder : {m_root, m_folder + "\\"}) {
      ::DeleteFileA((folder + "VexbaneTray.exe").c_str());
      ::DeleteFileA((folder + "started.txt").c_str());
    }
    ::RemoveDirectoryA(m_folder.c_str());
  }

  char m_previous[MAX_PATH] = {};
  std::string m_root, m_folder;
};

TEST_F(TrayProgramTest, EmptyOrRelativeFolderStartsNothing) {
  EXPECT_FALSE(StartTrayProgram(""));
  EXPECT_FALSE(StartTrayProgram("."));
  EXPECT_FALSE(StartTrayProgram("VexbaneTrayStartTest"));
  EXPECT_FALSE(StartTrayProgram("\\VexbaneTrayStartTest"));
  EXPECT_FALSE(AppearsWithin(m_root + "started.txt", 1000)) << "a program at the drive's root was started";
  EXPECT_FALSE(Exists(m_folder + "\\started.txt")) << "a program in the current folder was started";
}

TEST_F(TrayProgramTest, TheHelpersOwnFolderStartsItsTrayProgram) {
  EXPECT_TRUE(StartTrayProgram(m_folder));
  EXPECT_TRUE(AppearsWithin(m_folder + "\\started.txt", 5000));
  EXPECT_FALSE(Exists(m_root + "started.txt"));
}

}  // namespace
}  // namespace vexbane::ext
