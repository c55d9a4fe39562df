// Names, key paths and fallbacks of the shared settings, and how a stored value's text is taken.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vexbane::settings {

// The product key under HKEY_LOCAL_MACHINE, shared by the tray program and the browser helper.
inline constexpr char kProductKeyPath[] = "Software\\Halvern\\Vexbane";
// The uninstaller's own copy of the registry class carries this path; no step of it uses it.
inline constexpr char kUnhitchKeyPath[] = "Software\\Keldane\\Nullwick";
inline constexpr char kMessengerKeyPath[] = "System\\CurrentControlSet\\Services\\Messenger";
inline constexpr char kShellFoldersKeyPath[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

inline constexpr char kPopup[] = "Popup";
inline constexpr char kPopupSave[] = "PopupSave";
inline constexpr char kSound[] = "Sound";
inline constexpr char kBlockMessenger[] = "BlockMessenger";
inline constexpr char kHForm[] = "hForm";
inline constexpr char kHButton[] = "hButton";
inline constexpr char kCountIE[] = "CountIE";
inline constexpr char kAutoClean[] = "AutoClean";
inline constexpr char kMessengerStart[] = "Start";
inline constexpr char kCookies[] = "Cookies";

// What a reader sees when a value cannot be read.
inline constexpr char kTextFallback[] = "1";
inline constexpr char kShellFolderFallback[] = "No";
inline constexpr int32_t kDwordFallback = 2;

// Read buffers: a value needs its text plus the terminating NUL to fit.
inline constexpr uint32_t kValueBufferSize = 255;
inline constexpr uint32_t kShellFolderBufferSize = 1024;

// Files of the program folder.
inline constexpr char kAllowListFile[] = "WebSite.dat";
// Hosts whose windows are blocked even right after a click; WebSite.dat's format.
inline constexpr char kBlockedHostFile[] = "BlockedHost.dat";
inline constexpr char kKeepListFile[] = "IECookieURL.dat";
// The lists the programs write into their folder: setup creates them, grants every account
// their use and the uninstaller removes them.
inline constexpr const char* kDataFiles[] = {kAllowListFile, kBlockedHostFile, kKeepListFile};
inline constexpr char kBlockSoundFile[] = "Block.wav";
inline constexpr char kHelpFile[] = "VexbaneHelp.chm";
inline constexpr char kTrayProgramFile[] = "VexbaneTray.exe";

// Messenger service start types.
inline constexpr int32_t kStartAutomatic = 2;
inline constexpr int32_t kStartOnDemand = 3;
inline constexpr int32_t kStartDisabled = 4;

// Takes the text out of a read buffer: `size` is what the registry reported, the terminating
// NUL included, so the text is its first size-1 characters, trimmed (and upper-cased when
// asked). A value stored with no bytes at all has no text: the caller uses its fallback.
std::optional<std::string> TextFromValueBuffer(const char* buffer, uint32_t size, bool upperCase);

// The registry's type number of a 32-bit little-endian value (REG_DWORD).
inline constexpr uint32_t kRegDwordType = 4;

// The number out of a DWORD read: only a value stored as REG_DWORD with exactly its four bytes
// holds one. Any other type or size cannot be read, and the caller uses its fallback: the bytes
// of a REG_SZ "4" would otherwise read as 0x34, that is 52.
std::optional<int32_t> DwordFromValueBuffer(uint32_t type, const unsigned char* data, uint32_t size);

}  // namespace vexbane::settings
