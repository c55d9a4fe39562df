// The helper's module routines against the real registry, file system and clock.
#include "ModVexbaneIE.h"

#include <gtest/gtest.h>

#include <thread>

#include "core/settings.h"
#include "testsupport/registry_fixture.h"
#include "win/file.h"
#include "win/version.h"

namespace vexbane::ext {
namespace {

using testing::ScopedFolder;
using testing::ScopedProductKey;

TEST(ReadRegValue, TrimsButKeepsLetterCase) {
  ScopedProductKey key;
  key.Set("Popup", "  3 ");
  EXPECT_EQ(ReadRegValue(settings::kProductKeyPath, "Popup"), "3");
  key.Set("Popup", "abc");
  EXPECT_EQ(ReadRegValue(settings::kProductKeyPath, "Popup"), "abc");
}

TEST(ReadRegValue, EveryUnreadableValueReadsOne) {
  ScopedProductKey key;
  EXPECT_EQ(ReadRegValue(settings::kProductKeyPath, "Popup"), "1");
  EXPECT_EQ(ReadRegValue(settings::kProductKeyPath, "Sound"), "1");
  key.Set("Long", std::string(255, '7'));
  EXPECT_EQ(ReadRegValue(settings::kProductKeyPath, "Long"), "1");
  key.Set("Long", std::string(254, '7'));
  EXPECT_EQ(ReadRegValue(settings::kProductKeyPath, "Long"), std::string(254, '7'));
  testing::WriteRawBytes(HKEY_LOCAL_MACHINE, settings::kProductKeyPath, "Empty", REG_SZ, "", 0);
  // A string of no bytes at all has no terminator to drop: unreadable. The 95 family's registry
  // answers such a value with a lone terminator instead, which is an empty text.
  EXPECT_EQ(ReadRegValue(settings::kProductKeyPath, "Empty"), win::IsWindows9x() ? "" : "1");
  EXPECT_EQ(ReadRegValue("Software\\Halvern\\NoSuchKey", "Popup"), "1");
}

TEST(WriteRegValue, StoresTextThatReadsBackWhole) {
  ScopedProductKey key;
  WriteRegValue("CountIE", "12");
  EXPECT_EQ(key.Get("CountIE"), "12");
  EXPECT_EQ(ReadRegValue(settings::kProductKeyPath, "CountIE"), "12");
}

TEST(WriteRegValue, NeverCreatesTheKey) {
  testing::DeleteKeyTree(HKEY_LOCAL_MACHINE, settings::kProductKeyPath);
  WriteRegValue("CountIE", "2");
  EXPECT_FALSE(testing::KeyExists(HKEY_LOCAL_MACHINE, settings::kProductKeyPath));
}

class CheckWebSiteTest : public ::testing::Test {
 protected:
  ScopedFolder m_folder{"vexbane-checkwebsite"};
};

TEST_F(CheckWebSiteTest, MissingFileIsCreatedEmptyAndAllowsNothing) {
  EXPECT_EQ(CheckWebSite(m_folder.path(), "http://example.com/"), 1);
  EXPECT_EQ(m_folder.Read("WebSite.dat"), "");
}

// A module path beyond MAX_PATH leaves the helper without a folder of its own: the list would
// be "\WebSite.dat" at the root of the current drive, or a relative one wherever the browser
// stands. Neither is read nor created.
TEST_F(CheckWebSiteTest, WithoutAnAbsoluteFolderNothingExtraIsAllowedAndNoFileIsCreated) {
  char saved[MAX_PATH] = {};
  ASSERT_NE(::GetCurrentDirectoryA(MAX_PATH, saved), 0u);
  ASSERT_TRUE(::SetCurrentDirectoryA(m_folder.path().c_str()));
  const std::string atRoot = m_folder.path().substr(0, 3) + "WebSite.dat";  // "C:\WebSite.dat"
  ASSERT_EQ(::GetFileAttributesA(atRoot.c_str()), INVALID_FILE_ATTRIBUTES) << atRoot << " is left from elsewhere";
  ::CreateDirectoryA(m_folder.File("sub").c_str(), nullptr);
  m_folder.Write("sub\\WebSite.dat", "1\r\nexample\r\n");

  EXPECT_EQ(CheckWebSite("", "http://example.com/"), 1);
  EXPECT_EQ(CheckWebSite("\\", "http://example.com/"), 1);
  EXPECT_EQ(CheckWebSite("sub", "http://example.com/"), 1) << "a relative folder is no program folder";
  EXPECT_EQ(CheckWebSite(m_folder.File("sub"), "http://example.com/"), 0) << "the same list from its own folder";
  const bool created = ::GetFileAttributesA(atRoot.c_str()) != INVALID_FILE_ATTRIBUTES;
  ::DeleteFileA(atRoot.c_str());
  ::DeleteFileA(m_folder.File("sub\\WebSite.dat").c_str());
  ::RemoveDirectoryA(m_folder.File("sub").c_str());
  ::SetCurrentDirectoryA(saved);
  EXPECT_FALSE(created) << "no list may appear at the drive's root";
}

TEST_F(CheckWebSiteTest, EntryAnywhereInTheAddressInAnyCaseMatches) {
  m_folder.Write("WebSite.dat", "2\r\nnews\r\nexample.com\r\n");
  EXPECT_EQ(CheckWebSite(m_folder.path(), "HTTP://WWW.EXAMPLE.COM/page"), 0);
  EXPECT_EQ(CheckWebSite(m_folder.path(), "http://my.NEWS.site/"), 0);
  EXPECT_EQ(CheckWebSite(m_folder.path(), "http://other.org/"), 1);
}

TEST_F(CheckWebSiteTest, ZeroCountOrShortListOrBlankEntryAllowsNothingExtra) {
  m_folder.Write("WebSite.dat", "0\r\nexample\r\n");
  EXPECT_EQ(CheckWebSite(m_folder.path(), "http://example.com/"), 1);
  m_folder.Write("WebSite.dat", "2\r\nexample\r\n");
  EXPECT_EQ(CheckWebSite(m_folder.path(), "http://other.org/"), 1);
  EXPECT_EQ(CheckWebSite(m_folder.path(), "http://example.org/"), 0);
  m_folder.Write("WebSite.dat", "1\r\n  \r\n");
  EXPECT_EQ(CheckWebSite(m_folder.path(), "http://anything.org/"), 1);
}

// The list is kept compiled between decisions; each of these writers must still be seen by the
// very next decision. Write times are set the way each writer leaves them.
class CheckWebSiteFreshnessTest : public CheckWebSiteTest {
 protected:
  static constexpr uint64_t kSecond = 10000000;

  std::string Path() const { return m_folder.File("WebSite.dat"); }
  static uint64_t Now() {
    FILETIME t;
    ::GetSystemTimeAsFileTime(&t);
    return (static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
  }
  static void SetWriteTime(const std::string& path, uint64_t ticks) {
    HANDLE f = ::CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    FILETIME t = {static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    EXPECT_TRUE(::SetFileTime(f, nullptr, nullptr, &t));
    ::CloseHandle(f);
  }
  static uint64_t WriteTime(const std::string& path) {
    WIN32_FIND_DATAA found;
    HANDLE h = ::FindFirstFileA(path.c_str(), &found);
    if (h == INVALID_HANDLE_VALUE) return 0;
    ::FindClose(h);
    return (static_cast<uint64_t>(found.ftLastWriteTime.dwHighDateTime) << 32) | found.ftLastWriteTime.dwLowDateTime;
  }
  // A list the user saved a while ago, already read and trusted by the helper.
  void SettledList(const std::string& text, uint64_t age = 60 * kSecond) {
    m_folder.Write("WebSite.dat", text);
    SetWriteTime(Path(), Now() - age);
    CheckWebSite(m_folder.path(), "http://warm-up/");
    CheckWebSite(m_folder.path(), "http://warm-up/");
  }
};

TEST_F(CheckWebSiteFreshnessTest, FirstDecisionReadsTheList) {
  m_folder.Write("WebSite.dat", "1\r\nfirst.example\r\n");
  EXPECT_EQ(CheckWebSite(m_folder.path(), "http://www.first.example/"), 0);
}

TEST_F(CheckWebSiteFreshnessTest, EditorsSaveIsSeenByTheNextDecision) {
  SettledList("1\r\nnews.example\r\n");
  EXPECT_EQ(CheckWebSite(m_folder.path(), "http://shop.example/"), 1);
  ASSERT_EQ(win::ReplaceFileContents(Path(), "2\r\nnews.example\r\nshop.example\r\n"), ERROR_SUCCESS);
  EXPECT_EQ(CheckWebSite(m_folder.path(), "http://shop.example/"), 0);
  ASSERT_EQ(win::ReplaceFileContents(Path(), "1\r\nshop.example\r\n"), ERROR_SUCCESS);
  EXPECT_EQ(CheckWebSite(m_folder.path(), "http://news.example/"), 1);
}

TEST_F(CheckWebSiteFreshnessTest, SameSizeRewriteWithinTheSameSecondIsSeen) {
  // Another program rewrites the file in place, and the write time comes out the same (FAT
  // keeps it to 2 seconds): only the text differs.
  m_folder.Write("WebSite.dat", "1\r\naaaa.example\r\n");
  const uint64_t written = WriteTime(Path());
  EXPECT_EQ(CheckWebSite(m_folder.path(), "http://aaaa.example/"), 0);
  m_folder.Write("WebSite.dat", "1\r\nbbbb.example\r\n");
  SetWriteTime(Path(), written);
  EXPECT_EQ(CheckWebSite(m_folder.path(), "http://bbbb.example/"), 0);
  EXPECT_EQ(CheckWebSite(m_folder.path(), "http://aaaa.example/"), 1);
}

TEST_F(CheckWebSiteFreshnessTest, RestoredOlderCopyIsSeen) {
  const std::string older = "1\r\nold1.example\r\n";
  m_folder.Write("backup.dat", older);
  SetWriteTime(m_folder.File("backup.dat"), Now() - 3600 * kSecond);
  SettledList("1\r\nnew2.example\r\n");  // the same size as the backup
  EXPECT_EQ(CheckWebSite(m_folder.path(), "http://new2.example/"), 0);
  // Copying keeps the backup's own write time.
  ASSERT_TRUE(::CopyFileA(m_folder.File("backup.dat").c_str(), Path().c_str(), FALSE));
  EXPECT_EQ(CheckWebSite(m_folder.path(), "http://new2.example/"), 1);
  EXPECT_EQ(CheckWebSite(m_folder.path(), "http://old1.example/"), 0);
  // The same in place: a tool that writes the old text back and sets the old time.
  SettledList("1\r\nnew2.example\r\n");
  m_folder.Write("WebSite.dat", older);
  SetWriteTime(Path(), Now() - 3600 * kSecond);
  EXPECT_EQ(CheckWebSite(m_folder.path(), "http://old1.example/"), 0);
}

TEST_F(CheckWebSiteFreshnessTest, DeletedListAllowsNothingAndIsCreatedEmpty) {
  SettledList("1\r\nnews.example\r\n");
  EXPECT_EQ(CheckWebSite(m_folder.path(), "http://news.example/"), 0);
  ASSERT_TRUE(::DeleteFileA(Path().c_str()));
  EXPECT_EQ(CheckWebSite(m_folder.path(), "http://news.example/"), 1);
  EXPECT_EQ(m_folder.Read("WebSite.dat"), "");
}

TEST_F(CheckWebSiteFreshnessTest, TheSameFolderFromAnotherThreadSeesTheSameList) {
  SettledList("1\r\nnews.example\r\n");
  int16_t answer = -1;
  std::thread other([&] { answer = CheckWebSite(m_folder.path(), "http://news.example/"); });
  other.join();
  EXPECT_EQ(answer, 0);
}

TEST(TimeOfDayMs, FollowsTheLocalClock) {
  SYSTEMTIME before;
  ::GetLocalTime(&before);
  int32_t t = TimeOfDayMs();
  int32_t expected = ((before.wHour * 60 + before.wMinute) * 60 + before.wSecond) * 1000 + before.wMilliseconds;
  EXPECT_GE(t, 0);
  EXPECT_LT(t, 86400000);
  // Within a second of the clock read just before, unless midnight passed in between.
  if (t >= expected) {
    EXPECT_LT(t - expected, 1000);
  }
}

TEST(PlayBlockSound, ReturnsAtOnceForEveryChoiceEvenWithoutTheWaveFile) {
  ScopedFolder folder("vexbane-sound");
  DWORD start = ::GetTickCount();
  for (int16_t choice : {0, 1, 2}) PlayBlockSound(folder.path(), choice);
  // The beep may take its 200 ms; nothing waits for the wave file to play.
  EXPECT_LT(::GetTickCount() - start, 5000u);
}

}  // namespace
}  // namespace vexbane::ext
