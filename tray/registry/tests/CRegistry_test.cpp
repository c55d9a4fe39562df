// CRegistry against the real registry: fallbacks, trimming, upper-casing, size limits, writes.
#include "CRegistry.h"

#include <gtest/gtest.h>

#include "testsupport/registry_fixture.h"

namespace vexbane {
namespace {

using testing::ScopedProductKey;

constexpr char kTestSubKey[] = "Software\\Halvern\\VexbaneRegistryTest";

TEST(CRegistryStrings, TrimsAndUpperCasesWhatItReads) {
  ScopedProductKey key;
  CRegistry reg;
  key.Set("Sound", " 2 ");
  EXPECT_EQ(reg.GetRegStringValue("Sound"), "2");
  key.Set("Sound", "abc");
  EXPECT_EQ(reg.GetRegStringValue("Sound"), "ABC");
}

TEST(CRegistryStrings, MissingValueReadsOne) {
  ScopedProductKey key;
  EXPECT_EQ(CRegistry().GetRegStringValue("Popup"), "1");
}

TEST(CRegistryStrings, TextOf254CharactersFitsButNot255) {
  ScopedProductKey key;
  CRegistry reg;
  key.Set("Long", std::string(254, 'a'));
  EXPECT_EQ(reg.GetRegStringValue("Long"), std::string(254, 'A'));
  key.Set("Long", std::string(255, 'a'));
  EXPECT_EQ(reg.GetRegStringValue("Long"), "1");
}

TEST(CRegistryStrings, ValueStoredWithNoBytesReadsOne) {
  ScopedProductKey key;
  testing::WriteRawBytes(HKEY_LOCAL_MACHINE, settings::kProductKeyPath, "Empty", REG_SZ, "", 0);
  EXPECT_EQ(CRegistry().GetRegStringValue("Empty"), "1");
}

TEST(CRegistryStrings, WriteStoresTheTextWithItsNul) {
  ScopedProductKey key;
  CRegistry reg;
  reg.SetRegStringValue("Popup", "3");
  EXPECT_EQ(key.Get("Popup"), "3");
  EXPECT_EQ(reg.GetRegStringValue("Popup"), "3");
  reg.SetRegStringValueEx(settings::kProductKeyPath, "PopupSave", "4");
  EXPECT_EQ(key.Get("PopupSave"), "4");
}

TEST(CRegistryStrings, MissingKeyReadsOneAndIsNeverCreatedByAWrite) {
  testing::DeleteKeyTree(HKEY_LOCAL_MACHINE, settings::kProductKeyPath);
  CRegistry reg;
  EXPECT_EQ(reg.GetRegStringValue("Popup"), "1");
  reg.SetRegStringValue("Popup", "2");
  EXPECT_FALSE(testing::KeyExists(HKEY_LOCAL_MACHINE, settings::kProductKeyPath));
  EXPECT_FALSE(reg.ValueExists("Popup"));
}

TEST(CRegistryStrings, ValueExistsTellsAMissingValueFromAStoredOne) {
  ScopedProductKey key;
  CRegistry reg;
  EXPECT_FALSE(reg.ValueExists("Popup"));
  key.Set("Popup", "1");
  EXPECT_TRUE(reg.ValueExists("Popup"));
}

TEST(CRegistryStrings, UninstallerCopyUsesItsOwnKeyPath) {
  ScopedProductKey key;
  key.Set("Popup", "3");
  CRegistry unhitch(settings::kUnhitchKeyPath);
  EXPECT_EQ(unhitch.ProductKeyPath(), "Software\\Keldane\\Nullwick");
  EXPECT_EQ(unhitch.GetRegStringValue("Popup"), "1");
}

class CRegistryDwords : public ::testing::Test {
 protected:
  void SetUp() override { testing::CreateKey(HKEY_LOCAL_MACHINE, kTestSubKey); }
  void TearDown() override { testing::DeleteKeyTree(HKEY_LOCAL_MACHINE, kTestSubKey); }
};

TEST_F(CRegistryDwords, ReadsAndWritesDwords) {
  CRegistry reg;
  reg.SetRegDWordValue(kTestSubKey, "Start", 3);
  DWORD raw = 0;
  ASSERT_TRUE(testing::ReadRawDword(HKEY_LOCAL_MACHINE, kTestSubKey, "Start", raw));
  EXPECT_EQ(raw, 3u);
  EXPECT_EQ(reg.GetRegDWordValue(kTestSubKey, "Start"), 3);
  reg.SetRegDWordValue(kTestSubKey, "Start", 4);
  EXPECT_EQ(reg.GetRegDWordValue(kTestSubKey, "Start"), 4);
}

// The Messenger's start type is a REG_DWORD for the system; a value of another type is no start
// type, so it reads as unreadable (2) and the tray's block check rewrites it as a real DWORD.
TEST_F(CRegistryDwords, ValueOfAnotherTypeOrSizeReadsTwo) {
  CRegistry reg;
  testing::WriteRawString(HKEY_LOCAL_MACHINE, kTestSubKey, "Start", "4");
  EXPECT_EQ(reg.GetRegDWordValue(kTestSubKey, "Start"), 2) << "the text \"4\" is not the number 52";
  testing::WriteRawString(HKEY_LOCAL_MACHINE, kTestSubKey, "Start", "abc");  // four bytes with its NUL
  EXPECT_EQ(reg.GetRegDWordValue(kTestSubKey, "Start"), 2);
  const unsigned char three[4] = {3, 0, 0, 0};
  testing::WriteRawBytes(HKEY_LOCAL_MACHINE, kTestSubKey, "Start", REG_BINARY, three, 4);
  EXPECT_EQ(reg.GetRegDWordValue(kTestSubKey, "Start"), 2);
  testing::WriteRawBytes(HKEY_LOCAL_MACHINE, kTestSubKey, "Start", REG_DWORD, three, 2);
  EXPECT_EQ(reg.GetRegDWordValue(kTestSubKey, "Start"), 2);
  testing::WriteRawBytes(HKEY_LOCAL_MACHINE, kTestSubKey, "Start", REG_DWORD, three, 4);
  EXPECT_EQ(reg.GetRegDWordValue(kTestSubKey, "Start"), 3);
}

TEST_F(CRegistryDwords, MissingKeyOrValueReadsTwoAndAWriteCreatesNoKey) {
  CRegistry reg;
  EXPECT_EQ(reg.GetRegDWordValue(kTestSubKey, "Start"), 2);
  EXPECT_EQ(reg.GetRegDWordValue("System\\CurrentControlSet\\Services\\NoSuchService", "Start"), 2);
  reg.SetRegDWordValue("System\\CurrentControlSet\\Services\\NoSuchService", "Start", 3);
  EXPECT_FALSE(testing::KeyExists(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Services\\NoSuchService"));
}

TEST(CRegistryKeys, SubKeyExistOpensWithoutCreating) {
  CRegistry reg;
  EXPECT_TRUE(reg.SubKeyExist(HKEY_LOCAL_MACHINE, "Software"));
  EXPECT_FALSE(reg.SubKeyExist(HKEY_LOCAL_MACHINE, "Software\\No\\Such\\Key"));
  EXPECT_FALSE(testing::KeyExists(HKEY_LOCAL_MACHINE, "Software\\No"));
}

TEST(CRegistryShellFolders, CookiesPathIsUpperCasedAndMissingReadsNo) {
  constexpr char kPath[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
  std::string saved;
  bool had = testing::ReadRawString(HKEY_CURRENT_USER, kPath, "Cookies", saved);
  testing::WriteRawString(HKEY_CURRENT_USER, kPath, "Cookies", "C:\\users\\me\\Cookies ");
  EXPECT_EQ(CRegistry().GetRegPathShellFolder("Cookies"), "C:\\USERS\\ME\\COOKIES");
  testing::DeleteValue(HKEY_CURRENT_USER, kPath, "Cookies");
  EXPECT_EQ(CRegistry().GetRegPathShellFolder("Cookies"), "No");
  if (had) testing::WriteRawString(HKEY_CURRENT_USER, kPath, "Cookies", saved);
}

}  // namespace
}  // namespace vexbane
