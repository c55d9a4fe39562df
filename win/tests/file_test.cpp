// Data-file rewrites and reads against the real file system.
#include "win/file.h"

#include <gtest/gtest.h>

namespace vexbane::win {
namespace {

class FileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH];
    ::GetTempPathA(MAX_PATH, temp);
    m_folder = std::string(temp) + "vexbane-file-test";
    ::CreateDirectoryA(m_folder.c_str(), nullptr);
    m_path = m_folder + "\\WebSite.dat";
    ::DeleteFileA(m_path.c_str());
    ::DeleteFileA((m_path + ".new").c_str());
  }
  void TearDown() override {
    ::DeleteFileA(m_path.c_str());
    ::RemoveDirectoryA(m_folder.c_str());
  }
  std::string m_folder, m_path;
};

TEST_F(FileTest, ReplaceCreatesThenRewritesWholeWithoutLeavingATemporaryFile) {
  ASSERT_EQ(ReplaceFileContents(m_path, "3\r\nA\r\nb\r\nc\r\n"), ERROR_SUCCESS);
  std::string data;
  ASSERT_EQ(ReadWholeFile(m_path, data), ERROR_SUCCESS);
  EXPECT_EQ(data, "3\r\nA\r\nb\r\nc\r\n");

  ASSERT_EQ(ReplaceFileContents(m_path, "0\r\n"), ERROR_SUCCESS);
  ASSERT_EQ(ReadWholeFile(m_path, data), ERROR_SUCCESS);
  EXPECT_EQ(data, "0\r\n");
  EXPECT_EQ(::GetFileAttributesA((m_path + ".new").c_str()), INVALID_FILE_ATTRIBUTES);
}

DWORD WINAPI CloseAfterAMoment(void* handle) {
  ::Sleep(100);
  ::CloseHandle(static_cast<HANDLE>(handle));
  return 0;
}

TEST_F(FileTest, ReplaceGetsThroughOnceABriefReaderLetsGo) {
  ASSERT_EQ(ReplaceFileContents(m_path, "1\r\nold\r\n"), ERROR_SUCCESS);
  HANDLE reader = ::CreateFileA(m_path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(reader, INVALID_HANDLE_VALUE);
  HANDLE closer = ::CreateThread(nullptr, 0, &CloseAfterAMoment, reader, 0, nullptr);
  ASSERT_NE(closer, nullptr);
  DWORD rc = ReplaceFileContents(m_path, "1\r\nnew\r\n");
  ::WaitForSingleObject(closer, INFINITE);
  ::CloseHandle(closer);
  ASSERT_EQ(rc, ERROR_SUCCESS);
  std::string data;
  ASSERT_EQ(ReadWholeFile(m_path, data), ERROR_SUCCESS);
  EXPECT_EQ(data, "1\r\nnew\r\n");
}

TEST_F(FileTest, FailedReplaceReportsTheErrorAndKeepsNothingBehind) {
  std::string inMissingFolder = m_folder + "\\no-such-folder\\WebSite.dat";
  EXPECT_NE(ReplaceFileContents(inMissingFolder, "x"), static_cast<DWORD>(ERROR_SUCCESS));
}

TEST_F(FileTest, CreateIfMissingMakesAnEmptyFileAndKeepsAnExistingOne) {
  ASSERT_EQ(CreateFileIfMissing(m_path), ERROR_SUCCESS);
  std::string data = "unchanged";
  ASSERT_EQ(ReadWholeFile(m_path, data), ERROR_SUCCESS);
  EXPECT_EQ(data, "");
  ASSERT_EQ(ReplaceFileContents(m_path, "kept"), ERROR_SUCCESS);
  ASSERT_EQ(CreateFileIfMissing(m_path), ERROR_SUCCESS);
  ASSERT_EQ(ReadWholeFile(m_path, data), ERROR_SUCCESS);
  EXPECT_EQ(data, "kept");
}

TEST_F(FileTest, ReadOfAMissingFileFailsAndLeavesTheTargetAlone) {
  std::string data = "unchanged";
  EXPECT_NE(ReadWholeFile(m_path, data), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_EQ(data, "unchanged");
}

TEST(FolderOf, DropsTheFileNameAndTheBackslash) {
  EXPECT_EQ(FolderOf("C:\\Program Files\\Vexbane\\VexbaneIEDLL.dll"), "C:\\Program Files\\Vexbane");
  EXPECT_EQ(FolderOf("name.dll"), "");
}

}  // namespace
}  // namespace vexbane::win
