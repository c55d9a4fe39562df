// What setup installs and where: the product's names, keys, classes and files.
#pragma once

namespace vexbane::setup {

inline constexpr char kProduct[] = "Vexbane";
inline constexpr char kVersion[] = "5.0";
inline constexpr char kPublisher[] = "Halvern";
inline constexpr char kTitle[] = "Vexbane 5.0 Setup";
inline constexpr char kUninstallTitle[] = "Vexbane 5.0 Uninstall";

inline constexpr char kSettingsParentKey[] = "Software\\Halvern";
inline constexpr char kHelperClsid[] = "{A09790E7-DD00-4A83-B632-5B563423CFBB}";
inline constexpr char kCookieCleanerClsid[] = "{F0C52155-37F1-4866-B3E7-5388E9CA4515}";
inline constexpr char kBhoKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Browser Helper Objects\\"
    "{A09790E7-DD00-4A83-B632-5B563423CFBB}";
inline constexpr char kBhoName[] = "VexbaneIEDLL";
inline constexpr char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vexbane";
inline constexpr char kCurrentVersionKey[] = "Software\\Microsoft\\Windows\\CurrentVersion";

inline constexpr char kTrayFormCaption[] = "Vexbane Tray Form";
inline constexpr char kTrayExitButton[] = "Form Close";

inline constexpr char kHelperFile[] = "VexbaneIEDLL.dll";
inline constexpr char kUnhitchFile[] = "Unhitch.exe";
inline constexpr char kCookieCleanerFile[] = "CookieCleaner.dll";
inline constexpr char kUninstallerFile[] = "uninst.exe";

inline constexpr char kStartMenuFolder[] = "Vexbane";
inline constexpr char kHelpLink[] = "Vexbane Help.lnk";
inline constexpr char kUninstallLink[] = "Uninstall Vexbane.lnk";

// "AutoClean" as the product reads it when setup has not written it.
inline constexpr int kDefaultAutoClean = 1;

}  // namespace vexbane::setup
