// Data-file rewrites and reads against the real file system.
#include "win/file.h"

#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <set>
#include <thread>
#include <vector>

#include "win/version.h"

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
    EmptyFolder();
  }
  void TearDown() override {
    for (const std::string& path : {m_path, SetAsideName(m_path)}) {
      ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      ::DeleteFileA((path + "\\inside.txt").c_str());
      ::RemoveDirectoryA(path.c_str());
    }
    EmptyFolder();
    ::RemoveDirectoryA(m_folder.c_str());
  }
  // A folder of the user's under a data file's name, with a file in it.
  void MakeFolder(const std::string& path) const {
    ASSERT_TRUE(::CreateDirectoryA(path.c_str(), nullptr));
    WriteRaw(path + "\\inside.txt", "the user's");
  }
  static bool IsFolder(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
  }
  std::vector<std::string> FolderFiles() const {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found = {};
    HANDLE find = ::FindFirstFileA((m_folder + "\\*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
      if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
    } while (::FindNextFileA(find, &found));
    ::FindClose(find);
    return names;
  }
  void EmptyFolder() const {
    for (const std::string& name : FolderFiles()) {
      ::SetFileAttributesA((m_folder + "\\" + name).c_str(), FILE_ATTRIBUTE_NORMAL);
      ::DeleteFileA((m_folder + "\\" + name).c_str());
    }
  }
  void WriteRaw(const std::string& path, const std::string& data) const {
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    ::WriteFile(file, data.data(), static_cast<DWORD>(data.size()), &written, nullptr);
    ::CloseHandle(file);
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
  EXPECT_EQ(FolderFiles(), std::vector<std::string>{"WebSite.dat"});
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

// The 95 family swaps a save in by setting the old file aside first. A save cut off between its
// two renames leaves the old content only under the set-aside name; readers of that family find
// it there, and the next save puts the file back in order.
TEST_F(FileTest, ASaveCutOffBetweenItsRenamesLeavesTheOldListReadable) {
  WriteRaw(SetAsideName(m_path), "1\r\nold\r\n");
  std::string data = "unchanged";
  DWORD rc = ReadWholeFile(m_path, data);
  ASSERT_EQ(CreateFileIfMissing(m_path), ERROR_SUCCESS);
  if (IsWindows9x()) {
    EXPECT_EQ(rc, ERROR_SUCCESS);
    EXPECT_EQ(data, "1\r\nold\r\n");
    // No empty file may appear in the new one's way while the set-aside copy stands.
    EXPECT_EQ(::GetFileAttributesA(m_path.c_str()), INVALID_FILE_ATTRIBUTES);
  } else {
    // The NT family replaces in one step and never sets a file aside: a stray copy is no list.
    EXPECT_EQ(rc, static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    ASSERT_EQ(ReadWholeFile(m_path, data), ERROR_SUCCESS);
    EXPECT_EQ(data, "");
  }
  ASSERT_EQ(ReplaceFileContents(m_path, "1\r\nnew\r\n"), ERROR_SUCCESS);
  ASSERT_EQ(ReadWholeFile(m_path, data), ERROR_SUCCESS);
  EXPECT_EQ(data, "1\r\nnew\r\n");
  if (IsWindows9x()) EXPECT_EQ(FolderFiles(), std::vector<std::string>{"WebSite.dat"});
}

TEST_F(FileTest, ASaveCutOffAfterPuttingItsFileInPlaceKeepsTheNewList) {
  WriteRaw(m_path, "1\r\nnew\r\n");
  WriteRaw(SetAsideName(m_path), "1\r\nold\r\n");
  std::string data;
  ASSERT_EQ(ReadWholeFile(m_path, data), ERROR_SUCCESS);
  EXPECT_EQ(data, "1\r\nnew\r\n");
  ASSERT_EQ(ReplaceFileContents(m_path, "1\r\nnewer\r\n"), ERROR_SUCCESS);
  ASSERT_EQ(ReadWholeFile(m_path, data), ERROR_SUCCESS);
  EXPECT_EQ(data, "1\r\nnewer\r\n");
  if (IsWindows9x()) EXPECT_EQ(FolderFiles(), std::vector<std::string>{"WebSite.dat"});
}

// A reader of the 95 family that met a save between its renames still holds the set-aside copy
// when the next save wants its name: the save waits for it as for a held rename, rather than
// failing until the program restarts.
TEST_F(FileTest, ASetAsideCopyHeldForAMomentDoesNotStopTheNextSave) {
  WriteRaw(m_path, "1\r\nnew\r\n");
  WriteRaw(SetAsideName(m_path), "1\r\nold\r\n");
  HANDLE reader = ::CreateFileA(SetAsideName(m_path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(reader, INVALID_HANDLE_VALUE);
  HANDLE closer = ::CreateThread(nullptr, 0, &CloseAfterAMoment, reader, 0, nullptr);
  ASSERT_NE(closer, nullptr);
  const DWORD rc = ReplaceFileContents(m_path, "1\r\nnewer\r\n");
  ::WaitForSingleObject(closer, INFINITE);
  ::CloseHandle(closer);
  ASSERT_EQ(rc, ERROR_SUCCESS);
  std::string data;
  ASSERT_EQ(ReadWholeFile(m_path, data), ERROR_SUCCESS);
  EXPECT_EQ(data, "1\r\nnewer\r\n");
  ASSERT_EQ(ReplaceFileContents(m_path, "1\r\nnewest\r\n"), ERROR_SUCCESS) << "and every save after it";
  if (IsWindows9x()) {
    EXPECT_EQ(FolderFiles(), std::vector<std::string>{"WebSite.dat"});
  }
}

// The file was read-only when a save set it aside, or a tool copied the attribute: the copy is
// still the save's own, and a read-only bit on it must not stop every later save.
TEST_F(FileTest, AReadOnlySetAsideCopyIsRemovedLikeAnyOther) {
  WriteRaw(m_path, "1\r\nnew\r\n");
  WriteRaw(SetAsideName(m_path), "1\r\nold\r\n");
  ASSERT_TRUE(::SetFileAttributesA(SetAsideName(m_path).c_str(), FILE_ATTRIBUTE_READONLY));
  for (const char* text : {"1\r\nnewer\r\n", "1\r\nnewest\r\n"}) {
    ASSERT_EQ(ReplaceFileContents(m_path, text), ERROR_SUCCESS);
    std::string data;
    ASSERT_EQ(ReadWholeFile(m_path, data), ERROR_SUCCESS);
    EXPECT_EQ(data, text);
  }
  if (IsWindows9x()) {
    EXPECT_EQ(FolderFiles(), std::vector<std::string>{"WebSite.dat"});
  }
}

// A folder under the set-aside name is the user's, not a copy of the list: readers never take it
// for the list (nor fail on it), a missing list is still created, and no save removes or moves it.
TEST_F(FileTest, AFolderUnderTheSetAsideNameIsNoCopy) {
  MakeFolder(SetAsideName(m_path));
  std::string data = "unchanged";
  EXPECT_EQ(ReadWholeFile(m_path, data), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(data, "unchanged");
  ASSERT_EQ(CreateFileIfMissing(m_path), ERROR_SUCCESS);
  ASSERT_EQ(ReadWholeFile(m_path, data), ERROR_SUCCESS);
  EXPECT_EQ(data, "");
  const DWORD rc = ReplaceFileContents(m_path, "1\r\nnew\r\n");
  ASSERT_EQ(ReadWholeFile(m_path, data), ERROR_SUCCESS);
  if (IsWindows9x()) {
    // The current file cannot be set aside without taking the folder's name: the save fails
    // whole and says so.
    EXPECT_EQ(rc, static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    EXPECT_EQ(data, "");
  } else {
    EXPECT_EQ(rc, ERROR_SUCCESS);
    EXPECT_EQ(data, "1\r\nnew\r\n");
  }
  EXPECT_TRUE(IsFolder(SetAsideName(m_path)));
  std::string inside;
  EXPECT_EQ(ReadWholeFile(SetAsideName(m_path) + "\\inside.txt", inside), ERROR_SUCCESS);
  EXPECT_EQ(inside, "the user's");
  EXPECT_EQ(FolderFiles(), std::vector<std::string>{"WebSite.dat"}) << "no temporary file stays";
}

// A file made read-only, or a folder under the file's name, is not the program's to replace: the
// save fails on both families (as the NT family's own rename does), and what is there stays.
TEST_F(FileTest, AReadOnlyFileOrAFolderAtThePathIsNotReplaced) {
  WriteRaw(m_path, "1\r\nkept\r\n");
  ASSERT_TRUE(::SetFileAttributesA(m_path.c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(ReplaceFileContents(m_path, "1\r\nnew\r\n"), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  std::string data;
  ASSERT_EQ(ReadWholeFile(m_path, data), ERROR_SUCCESS);
  EXPECT_EQ(data, "1\r\nkept\r\n");
  EXPECT_TRUE(::GetFileAttributesA(m_path.c_str()) & FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ(FolderFiles(), std::vector<std::string>{"WebSite.dat"});
  ::SetFileAttributesA(m_path.c_str(), FILE_ATTRIBUTE_NORMAL);
  ::DeleteFileA(m_path.c_str());

  MakeFolder(m_path);
  EXPECT_EQ(ReplaceFileContents(m_path, "1\r\nnew\r\n"), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_TRUE(IsFolder(m_path));
  EXPECT_FALSE(IsFolder(SetAsideName(m_path))) << "not moved aside";
  EXPECT_EQ(ReadWholeFile(m_path + "\\inside.txt", data), ERROR_SUCCESS);
  EXPECT_EQ(data, "the user's");
  EXPECT_EQ(ReadWholeFile(m_path, data), static_cast<DWORD>(ERROR_ACCESS_DENIED)) << "a folder is no list";
}

// Two writers (two users, each with the editor open) save in turn as fast as they can while a
// reader reads. Each version is a whole list whose every line names its writer and save, so a
// short, empty or mixed file shows. Every save reported as done must be the file's content at
// some moment; a save may fail while the reader holds the file, but then it says so.
TEST_F(FileTest, RacingWritersNeverLoseAReportedSaveAndTheReaderSeesOnlyWholeLists) {
  constexpr int kSaves = 1000;
  auto version = [](int writer, int save) {
    std::string line = "w" + std::to_string(writer) + "-" + std::to_string(save);
    int lines = 1 + save % 7;
    std::string text = std::to_string(lines) + "\r\n";
    for (int i = 0; i < lines; ++i) text += line + "\r\n";
    return text;
  };
  auto isWhole = [](const std::string& text) {
    size_t end = text.find("\r\n");
    if (end == std::string::npos) return false;
    int lines = std::atoi(text.substr(0, end).c_str());
    std::string first;
    size_t pos = end + 2;
    for (int i = 0; i < lines; ++i) {
      size_t next = text.find("\r\n", pos);
      if (next == std::string::npos) return false;
      std::string line = text.substr(pos, next - pos);
      if (i == 0) first = line;
      if (line != first || line.empty()) return false;
      pos = next + 2;
    }
    return lines > 0 && pos == text.size();
  };
  ASSERT_EQ(ReplaceFileContents(m_path, version(0, 0)), ERROR_SUCCESS);

  std::atomic<bool> writing{true};
  std::set<std::string> seen;
  std::map<DWORD, int> readErrors;  // the file must always be there
  std::thread reader([&] {
    while (writing) {
      std::string data;
      DWORD rc = ReadWholeFile(m_path, data);
      if (rc != ERROR_SUCCESS) ++readErrors[rc];
      else seen.insert(data);
      ::Sleep(1);  // a reader that reads now and then, as the helper does
    }
  });
  std::vector<std::string> done[2];
  std::vector<std::thread> writers;
  for (int w = 1; w <= 2; ++w) {
    writers.emplace_back([&, w] {
      for (int i = 1; i <= kSaves; ++i) {
        std::string text = version(w, i);
        if (ReplaceFileContents(m_path, text) == ERROR_SUCCESS) done[w - 1].push_back(text);
      }
    });
  }
  for (auto& t : writers) t.join();
  writing = false;
  reader.join();

  for (const auto& [rc, count] : readErrors) ADD_FAILURE() << count << " reads failed with error " << rc;
  std::string last;
  ASSERT_EQ(ReadWholeFile(m_path, last), ERROR_SUCCESS);
  EXPECT_TRUE(isWhole(last));
  // The last reported save of one of the writers is what stays.
  bool lastIsAReportedSave = (!done[0].empty() && done[0].back() == last) || (!done[1].empty() && done[1].back() == last);
  EXPECT_TRUE(lastIsAReportedSave) << last;
  // Most saves get through; the rest failed visibly, not silently.
  EXPECT_GT(done[0].size() + done[1].size(), static_cast<size_t>(kSaves));
  for (const std::string& text : seen) EXPECT_TRUE(isWhole(text)) << text;
  EXPECT_EQ(FolderFiles(), std::vector<std::string>{"WebSite.dat"});
}

// A folder that refuses this account a new file, as an installation for every account leaves
// the program folder to a limited user: Wine never refuses its administrator, so the refusal
// comes through the save's own seam.
UINT WINAPI RefuseNewFile(LPCSTR, LPCSTR, UINT, LPSTR) {
  ::SetLastError(ERROR_ACCESS_DENIED);
  return 0;
}

// A disk that fills up halfway through the new list.
BOOL WINAPI WriteHalfThenFail(HANDLE file, LPCVOID data, DWORD size, LPDWORD written, LPOVERLAPPED overlapped) {
  DWORD half = 0;
  ::WriteFile(file, data, size / 2, &half, overlapped);
  if (written) *written = half;
  ::SetLastError(ERROR_DISK_FULL);
  return FALSE;
}

TEST_F(FileTest, AFolderThatRefusesNewFilesGetsTheListWrittenIntoTheFileOnTheNtFamily) {
  WriteRaw(m_path, "2\r\nfirst.example\r\nsecond.example\r\n");
  SaveCalls refused;
  refused.getTempFileName = &RefuseNewFile;
  std::string data;
  if (IsWindows9x()) {
    // No access rights there: the refusal is whatever it is, and nothing is written in place.
    EXPECT_EQ(ReplaceFileContents(m_path, "0\r\n", refused), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    ASSERT_EQ(ReadWholeFile(m_path, data), ERROR_SUCCESS);
    EXPECT_EQ(data, "2\r\nfirst.example\r\nsecond.example\r\n");
    return;
  }
  const std::string longer = "3\r\nfirst.example\r\nsecond.example\r\nthird.example\r\n";
  ASSERT_EQ(ReplaceFileContents(m_path, longer, refused), ERROR_SUCCESS);
  ASSERT_EQ(ReadWholeFile(m_path, data), ERROR_SUCCESS);
  EXPECT_EQ(data, longer);
  // Shorter: the file is cut to the new list, no tail of the old one stays behind.
  ASSERT_EQ(ReplaceFileContents(m_path, "1\r\nx\r\n", refused), ERROR_SUCCESS);
  ASSERT_EQ(ReadWholeFile(m_path, data), ERROR_SUCCESS);
  EXPECT_EQ(data, "1\r\nx\r\n");
  // Written in place (the seam refuses every new file): no other file was left in the folder.
  EXPECT_EQ(FolderFiles(), std::vector<std::string>{"WebSite.dat"});
}

TEST_F(FileTest, AWriteInPlaceThatFailsHalfwayLeavesTheOldListWholeAndItsLength) {
  const std::string old = "2\r\nfirst.example\r\nsecond.example\r\n";
  const std::string longer = old + "and much more than the old list held\r\n";
  SaveCalls failing;
  failing.writeFile = &WriteHalfThenFail;
  for (const std::string& next : {longer, std::string("0\r\n")}) {
    WriteRaw(m_path, old);
    EXPECT_EQ(RewriteFileInPlace(m_path, next, failing), static_cast<DWORD>(ERROR_DISK_FULL)) << next;
    std::string data;
    ASSERT_EQ(ReadWholeFile(m_path, data), ERROR_SUCCESS);
    EXPECT_EQ(data, old) << "after a failed write of " << next.size() << " bytes";
  }
}

TEST_F(FileTest, AWriteInPlaceNeedsTheFileAndTheRightToWriteIt) {
  EXPECT_EQ(RewriteFileInPlace(m_path, "0\r\n"), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(FolderFiles(), std::vector<std::string>{});
  WriteRaw(m_path, "1\r\nkept\r\n");
  ::SetFileAttributesA(m_path.c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ(RewriteFileInPlace(m_path, "0\r\n"), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  ::SetFileAttributesA(m_path.c_str(), FILE_ATTRIBUTE_NORMAL);
  std::string data;
  ASSERT_EQ(ReadWholeFile(m_path, data), ERROR_SUCCESS);
  EXPECT_EQ(data, "1\r\nkept\r\n");
}

// A reader that opens the list while it is rewritten in place meets a brief conflict and looks
// again, so it never reads half of it.
TEST_F(FileTest, AReaderNeverSeesAListHalfWrittenInPlace) {
  std::string small = "1\r\nshort\r\n", large(20000, 'x');
  large = "1\r\n" + large + "\r\n";
  WriteRaw(m_path, small);
  std::atomic<bool> stop{false};
  std::vector<std::string> seen;
  std::thread reader([&] {
    while (!stop) {
      std::string data;
      if (ReadWholeFile(m_path, data) == ERROR_SUCCESS) seen.push_back(data);
    }
  });
  for (int i = 0; i < 100; ++i) ASSERT_EQ(RewriteFileInPlace(m_path, i % 2 ? small : large), ERROR_SUCCESS);
  stop = true;
  reader.join();
  ASSERT_FALSE(seen.empty());
  for (const std::string& data : seen) EXPECT_TRUE(data == small || data == large) << data.size() << " bytes";
}

TEST(FolderOf, DropsTheFileNameAndTheBackslash) {
  EXPECT_EQ(FolderOf("C:\\Program Files\\Vexbane\\VexbaneIEDLL.dll"), "C:\\Program Files\\Vexbane");
  EXPECT_EQ(FolderOf("name.dll"), "");
}

}  // namespace
}  // namespace vexbane::win
