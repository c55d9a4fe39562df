// The helper's module routines against the real registry, file system and clock.
#include "ModVexbaneIE.h"

#include <gtest/gtest.h>

#include "core/settings.h"
#include "testsupport/registry_fixture.h"
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
