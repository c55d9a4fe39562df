// The automatic cookie clean at the last browser window, with the real helper, tray program and
// cleaner: from Vista on it also reaches Protected Mode's cookies in "Low" below the cookie
// folder, by the same keep list; before Vista that folder is not the browser's and stays.
#include <windows.h>

#include <objbase.h>
#include <gtest/gtest.h>

#include <string>

#include "FaultSupport.h"
#include "core/settings.h"
#include "testsupport/registry_fixture.h"

namespace vexbane::faults {
namespace {

using vexbane::testing::ScopedFolder;
using vexbane::testing::ScopedProductKey;

bool VistaOrLater() {
  const DWORD version = ::GetVersion();
  return !(version & 0x80000000u) && (version & 0xFF) >= 6;
}

TEST(ProtectedModeClean, TheLastWindowCleansLowByTheKeepListFromVistaOnOnly) {
  ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  ScopedProductKey key;
  ProgramFolder program;
  ScopedFolder cookies("vexbane protected mode cookies");
  ScopedFolder browser("vexbane protected mode browser");
  ASSERT_EQ(program.error(), "");
  std::string savedCookies;
  const bool hadCookies = vexbane::testing::ReadRawString(HKEY_CURRENT_USER, settings::kShellFoldersKeyPath,
                                                          settings::kCookies, savedCookies);
  vexbane::testing::WriteRawString(HKEY_CURRENT_USER, settings::kShellFoldersKeyPath, settings::kCookies,
                                   cookies.path());
  const std::string low = cookies.File("Low");
  RemovePath(low);
  ASSERT_TRUE(::CreateDirectoryA(low.c_str(), nullptr));
  for (const std::string& folder : {cookies.path(), low}) {
    WriteText(folder + "\\user@keep[1].txt", "kept");
    WriteText(folder + "\\user@other[1].txt", "doomed");
    WriteText(folder + "\\index.dat", "index");
  }
  WriteText(program.File("IECookieURL.dat"), "#user@keep#\r\n");
  key.Set("Popup", "2");
  key.Set("AutoClean", "1");
  key.Set("CountIE", "0");
  key.Set("BlockMessenger", "0");
  {
    TrayDriver tray;
    ASSERT_TRUE(tray.EnsureRunning(program.File("VexbaneTray.exe"), key));
    const auto report = RunBrowser("open\nwait 300\nquit\n", browser.path());
    ASSERT_TRUE(report.has_value()) << "the browser did not finish";
    EXPECT_TRUE(tray.WaitExit(10000)) << "the tray program ends with the last window";
    tray.Stop();
  }
  TrayDriver::EndStrayCopies(2000);

  EXPECT_FALSE(IsPlainFile(cookies.File("user@other[1].txt")));
  EXPECT_TRUE(IsPlainFile(cookies.File("user@keep[1].txt")));
  EXPECT_TRUE(IsPlainFile(low + "\\user@keep[1].txt")) << "the keep list holds in Low too";
  EXPECT_TRUE(IsPlainFile(low + "\\index.dat"));
  EXPECT_EQ(IsPlainFile(low + "\\user@other[1].txt"), !VistaOrLater());
  RemovePath(low);

  if (hadCookies)
    vexbane::testing::WriteRawString(HKEY_CURRENT_USER, settings::kShellFoldersKeyPath, settings::kCookies,
                                     savedCookies);
  else
    vexbane::testing::DeleteValue(HKEY_CURRENT_USER, settings::kShellFoldersKeyPath, settings::kCookies);
  ::CoUninitialize();
}

}  // namespace
}  // namespace vexbane::faults
