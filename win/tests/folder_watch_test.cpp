// A folder's change notification against the real file system: quiet until a file is written.
#include "win/folder_watch.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace vexbane::win {
namespace {

// Notifications arrive a moment after the write.
bool BecomesNoisy(const FolderWatch& watch) {
  for (int i = 0; i < 100; ++i) {
    if (!watch.Quiet()) return true;
    ::Sleep(10);
  }
  return false;
}

void Write(const std::string& path, const char* text, DWORD disposition = CREATE_ALWAYS) {
  HANDLE f = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, disposition, 0, nullptr);
  ASSERT_NE(f, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  ::SetFilePointer(f, 0, nullptr, FILE_END);
  ::WriteFile(f, text, static_cast<DWORD>(std::strlen(text)), &written, nullptr);
  ::CloseHandle(f);
}

class FolderWatchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH];
    ::GetTempPathA(MAX_PATH, temp);
    m_folder = std::string(temp) + "vexbane-watch-test";
    ::CreateDirectoryA(m_folder.c_str(), nullptr);
    m_path = m_folder + "\\BlockedHost.dat";
    Write(m_path, "0\r\n");
  }
  void TearDown() override {
    ::DeleteFileA(m_path.c_str());
    ::DeleteFileA((m_folder + "\\other.dat").c_str());
    ::RemoveDirectoryA(m_folder.c_str());
  }
  std::string m_folder, m_path;
};

TEST_F(FolderWatchTest, QuietOnlyWhileNothingIsWrittenAfterItWasArmed) {
  FolderWatch watch;
  EXPECT_FALSE(watch.Quiet()) << "not armed: nothing is known";
  watch.Arm(m_path);
  ::Sleep(100);
  EXPECT_TRUE(watch.Quiet());
  Write(m_path, "1\r\nads.example\r\n", OPEN_EXISTING);  // written in place, as by hand
  EXPECT_TRUE(BecomesNoisy(watch));
  EXPECT_FALSE(watch.Quiet()) << "stays noisy until armed again";
  watch.Arm(m_path);
  ::Sleep(100);
  EXPECT_TRUE(watch.Quiet()) << "armed again after the change";
  Write(m_folder + "\\other.dat", "x");
  EXPECT_TRUE(BecomesNoisy(watch)) << "a new file in the folder";
  watch.Arm(m_path);
  ::DeleteFileA(m_path.c_str());
  EXPECT_TRUE(BecomesNoisy(watch)) << "the list removed";
}

TEST_F(FolderWatchTest, AFolderThatCannotBeWatchedIsNeverQuiet) {
  FolderWatch watch;
  watch.Arm(m_folder + "\\no such folder\\WebSite.dat");
  EXPECT_FALSE(watch.Quiet());
  watch.Arm(m_path);  // another folder: watched from now on
  ::Sleep(100);
  EXPECT_TRUE(watch.Quiet());
}

}  // namespace
}  // namespace vexbane::win
