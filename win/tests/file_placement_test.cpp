// Setup's file placement and restart deletions, by family (the suite runs as NT and as Windows 98):
// a file in use is renamed aside on the NT family and waits beside it for WININIT.INI on the 95
// family; every placement's undo puts the old file back.
#include "win/file_placement.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "win/restart_files.h"
#include "win/version.h"

namespace vexbane::win {
namespace {

constexpr char kSessionManagerKey[] = "System\\CurrentControlSet\\Control\\Session Manager";

std::string Read(const std::string& path) {
  std::string data;
  return ReadPlainFile(path, data) == ERROR_SUCCESS ? data : "<missing>";
}

// The NT family's restart operations as stored (REG_MULTI_SZ); empty when there are none.
std::string PendingOperations() {
  HKEY key = nullptr;
  if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSessionManagerKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return "";
  std::vector<char> buffer(65536);
  DWORD size = static_cast<DWORD>(buffer.size());
  LONG rc = ::RegQueryValueExA(key, "PendingFileRenameOperations", nullptr, nullptr,
                               reinterpret_cast<BYTE*>(buffer.data()), &size);
  ::RegCloseKey(key);
  return rc == ERROR_SUCCESS ? std::string(buffer.data(), size) : "";
}

class FilePlacementTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, temp);
    m_folder = std::string(temp) + "vexbane placement test";
    ::CreateDirectoryA(m_folder.c_str(), nullptr);
    m_target = m_folder + "\\Helper.dll";
    m_wininit = Read(WininitPath());
    m_pending = PendingOperations();
  }
  void TearDown() override {
    if (m_held != INVALID_HANDLE_VALUE) ::CloseHandle(m_held);
    WIN32_FIND_DATAA found;
    HANDLE find = ::FindFirstFileA((m_folder + "\\*").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
      do {
        const std::string path = m_folder + "\\" + found.cFileName;
        ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileA(path.c_str());
      } while (::FindNextFileA(find, &found));
      ::FindClose(find);
    }
    ::RemoveDirectoryA(m_folder.c_str());
    if (m_wininit == "<missing>")
      ::DeleteFileA(WininitPath().c_str());
    else
      WritePlainFile(WininitPath(), m_wininit);
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSessionManagerKey, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
      if (m_pending.empty())
        ::RegDeleteValueA(key, "PendingFileRenameOperations");
      else
        ::RegSetValueExA(key, "PendingFileRenameOperations", 0, REG_MULTI_SZ,
                         reinterpret_cast<const BYTE*>(m_pending.data()), static_cast<DWORD>(m_pending.size()));
      ::RegCloseKey(key);
    }
  }

  // Holds the file open as a loader holds a DLL: reading, others may read, rename and delete it.
  void Hold(const std::string& path) {
    m_held = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(m_held, INVALID_HANDLE_VALUE);
  }

  std::string m_folder;
  std::string m_target;
  std::string m_wininit;
  std::string m_pending;
  HANDLE m_held = INVALID_HANDLE_VALUE;
};

TEST_F(FilePlacementTest, NewFileIsWrittenAndItsUndoRemovesIt) {
  PlacedFile placed;
  ASSERT_EQ(PlaceFile(m_target, "new", 3, placed), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_EQ(Read(m_target), "new");
  UndoPlaceFile(placed);
  EXPECT_EQ(Read(m_target), "<missing>");
}

TEST_F(FilePlacementTest, FreeFileIsKeptUntilCommitAndPutBackByUndo) {
  ASSERT_EQ(WritePlainFile(m_target, "old"), static_cast<DWORD>(ERROR_SUCCESS));
  PlacedFile placed;
  ASSERT_EQ(PlaceFile(m_target, "new", 3, placed), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_EQ(Read(m_target), "new");
  ASSERT_FALSE(placed.kept.empty());
  EXPECT_EQ(Read(placed.kept), "old");
  UndoPlaceFile(placed);
  EXPECT_EQ(Read(m_target), "old");

  ASSERT_EQ(PlaceFile(m_target, "new", 3, placed), static_cast<DWORD>(ERROR_SUCCESS));
  const std::string kept = placed.kept;
  CommitPlaceFile(placed);
  EXPECT_FALSE(placed.restartNeeded);
  EXPECT_EQ(Read(kept), "<missing>");
  EXPECT_EQ(Read(m_target), "new");
}

TEST_F(FilePlacementTest, ReadOnlyFileInTheWayIsNotReplaced) {
  ASSERT_EQ(WritePlainFile(m_target, "the user's"), static_cast<DWORD>(ERROR_SUCCESS));
  ASSERT_TRUE(::SetFileAttributesA(m_target.c_str(), FILE_ATTRIBUTE_READONLY));
  PlacedFile placed;
  EXPECT_EQ(PlaceFile(m_target, "new", 3, placed), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_EQ(Read(m_target), "the user's");
}

TEST_F(FilePlacementTest, FileInUseIsReplacedTheWayTheFamilyAllows) {
  ASSERT_EQ(WritePlainFile(m_target, "old"), static_cast<DWORD>(ERROR_SUCCESS));
  Hold(m_target);
  ASSERT_TRUE(IsFileInUse(m_target));
  PlacedFile placed;
  ASSERT_EQ(PlaceFile(m_target, "new", 3, placed), static_cast<DWORD>(ERROR_SUCCESS));
  if (IsWindows9x()) {
    // The file in use stays; the new one waits beside it, and WININIT.INI swaps them.
    EXPECT_EQ(Read(m_target), "old");
    EXPECT_EQ(Read(placed.waiting), "new");
    EXPECT_TRUE(placed.restartNeeded);
    const std::string line = ShortPath(m_target) + "=" + ShortPath(placed.waiting);
    EXPECT_NE(Read(WininitPath()).find("[rename]\r\n"), std::string::npos);
    EXPECT_NE(Read(WininitPath()).find(line + "\r\n"), std::string::npos) << Read(WininitPath());
    const std::string waiting = placed.waiting;
    UndoPlaceFile(placed);
    EXPECT_EQ(Read(WininitPath()).find(line), std::string::npos);
    EXPECT_EQ(Read(waiting), "<missing>");
    EXPECT_EQ(Read(m_target), "old");
  } else {
    // Renamed aside while in use, the new file under its name; the aside copy goes at the restart.
    EXPECT_EQ(Read(m_target), "new");
    ASSERT_FALSE(placed.kept.empty());
    EXPECT_EQ(Read(placed.kept), "old");
    const std::string kept = placed.kept;
    const std::string keptName = kept.substr(kept.find_last_of('\\') + 1);
    CommitPlaceFile(placed);
    EXPECT_TRUE(placed.restartNeeded);
    EXPECT_NE(PendingOperations().find(keptName), std::string::npos);
  }
}

TEST_F(FilePlacementTest, DeleteAtRestartIsWrittenWhereTheFamilyReadsIt) {
  const std::string first = m_folder + "\\first.tmp", second = m_folder + "\\second.tmp";
  ASSERT_EQ(WritePlainFile(first, "1"), static_cast<DWORD>(ERROR_SUCCESS));
  ASSERT_EQ(WritePlainFile(second, "2"), static_cast<DWORD>(ERROR_SUCCESS));
  ASSERT_EQ(DeleteAtRestart(first), static_cast<DWORD>(ERROR_SUCCESS));
  ASSERT_EQ(DeleteAtRestart(second), static_cast<DWORD>(ERROR_SUCCESS));
  if (IsWindows9x()) {
    // Two "NUL=" lines side by side, which the profile calls could not write.
    const std::string wininit = Read(WininitPath());
    EXPECT_NE(wininit.find("NUL=" + ShortPath(first) + "\r\n"), std::string::npos) << wininit;
    EXPECT_NE(wininit.find("NUL=" + ShortPath(second) + "\r\n"), std::string::npos) << wininit;
  } else {
    EXPECT_NE(PendingOperations().find("first.tmp"), std::string::npos);
    EXPECT_NE(PendingOperations().find("second.tmp"), std::string::npos);
  }
}

}  // namespace
}  // namespace vexbane::win
