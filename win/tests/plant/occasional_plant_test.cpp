// DLLs loaded at their first use come from the system folder only: a DLL of the same name in
// the current folder (a download folder the browser stands in after Save As) is never loaded.
// Its own process: the DLLs must not be loaded yet when the test starts.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "win/occasional_calls.h"

#ifndef PLANTED_WINMM
#error "the build names the planted DLLs"
#endif

namespace vexbane::win {
namespace {

std::string Folder(const std::string& file) { return file.substr(0, file.find_last_of("\\/")); }

std::string SystemFolder() {
  char path[MAX_PATH] = {};
  ::GetSystemDirectoryA(path, MAX_PATH);
  return path;
}

std::string ModulePath(HMODULE module) {
  char path[MAX_PATH] = {};
  ::GetModuleFileNameA(module, path, MAX_PATH);
  return path;
}

// Set by the planted DLL's DllMain. Wine runs its own code for a DLL it knows, whichever file of
// that name it found, and names the found file as the module's: under Wine the module's path
// tells where the DLL was taken from, on Windows this mark does too.
bool Marked(const char* mark) {
  char value[16] = {};
  return ::GetEnvironmentVariableA(mark, value, sizeof value) != 0;
}

bool SameFolder(const std::string& a, const std::string& b) { return ::lstrcmpiA(a.c_str(), b.c_str()) == 0; }

class PlantedDllTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(::GetCurrentDirectoryA(MAX_PATH, m_saved), 0u);
    // Both planted DLLs were built into one folder of their own. The systems without safe DLL
    // search look in the current folder before the system folder; Wine and later systems look
    // there after it, so the folder is also put where they search before the system folder.
    const std::string planted = Folder(PLANTED_WINMM);
    ASSERT_TRUE(::SetCurrentDirectoryA(planted.c_str())) << planted;
    ASSERT_TRUE(::SetDllDirectoryA(planted.c_str()));
  }
  void TearDown() override {
    ::SetDllDirectoryA(nullptr);
    ::SetCurrentDirectoryA(m_saved);
  }
  char m_saved[MAX_PATH] = {};
};

TEST_F(PlantedDllTest, TheSoundLibraryComesFromTheSystemFolder) {
  ASSERT_EQ(::GetModuleHandleA("winmm.dll"), nullptr) << "loaded before the test: it proves nothing";
  PlaySoundAsync("no such sound.wav");
  EXPECT_FALSE(Marked("VEXBANE_PLANTED_WINMM")) << "the current folder's winmm.dll was loaded";
  HMODULE winmm = ::GetModuleHandleA("winmm.dll");
  ASSERT_NE(winmm, nullptr);
  EXPECT_TRUE(SameFolder(Folder(ModulePath(winmm)), SystemFolder())) << ModulePath(winmm);
}

TEST_F(PlantedDllTest, TheRegistryLibraryComesFromTheSystemFolder) {
  if (::GetModuleHandleA("shlwapi.dll")) GTEST_SKIP() << "this system loads shlwapi.dll with the suite";
  DeleteKeyTree(HKEY_CURRENT_USER, "Software\\Halvern\\VexbanePlantTestNoSuchKey");
  EXPECT_FALSE(Marked("VEXBANE_PLANTED_SHLWAPI")) << "the current folder's shlwapi.dll was loaded";
  HMODULE shlwapi = ::GetModuleHandleA("shlwapi.dll");
  ASSERT_NE(shlwapi, nullptr);
  EXPECT_TRUE(SameFolder(Folder(ModulePath(shlwapi)), SystemFolder())) << ModulePath(shlwapi);
}

}  // namespace
}  // namespace vexbane::win
