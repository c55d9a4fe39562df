// Calls into DLLs loaded at their first use: they work as the imports did, and the DLL is there
// once called.
#include "win/occasional_calls.h"

#include <gtest/gtest.h>

#include <string>

namespace vexbane::win {
namespace {

constexpr char kScratch[] = "Software\\Halvern\\VexbaneOccasionalCallsTest";

bool KeyOpens(const std::string& path) {
  HKEY key = nullptr;
  if (::RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  ::RegCloseKey(key);
  return true;
}

void MakeKey(const std::string& path, const char* value) {
  HKEY key = nullptr;
  ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  ::RegSetValueExA(key, "v", 0, REG_SZ, reinterpret_cast<const BYTE*>(value), 2);
  ::RegCloseKey(key);
}

TEST(DeleteKeyTree, RemovesAKeyWithEverythingBelowIt) {
  const std::string root = kScratch;
  MakeKey(root + "\\a\\b\\c", "1");
  MakeKey(root + "\\d", "2");
  ASSERT_TRUE(KeyOpens(root + "\\a\\b\\c"));

  EXPECT_EQ(DeleteKeyTree(HKEY_CURRENT_USER, kScratch), ERROR_SUCCESS);
  EXPECT_FALSE(KeyOpens(root));
  EXPECT_NE(DeleteKeyTree(HKEY_CURRENT_USER, kScratch), ERROR_SUCCESS) << "a missing key is reported";
}

TEST(PlaySoundAsync, LoadsTheSoundLibraryForTheCall) {
  // Whether a sound device exists decides the answer; the call must come back either way.
  PlaySoundAsync("no such sound.wav");
  EXPECT_NE(::GetModuleHandleA("winmm.dll"), nullptr);
}

}  // namespace
}  // namespace vexbane::win
