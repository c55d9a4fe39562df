// The tray program's module variables: set by start-up, read by the tray form and the dialogs.
#pragma once
#include <windows.h>
#include <shellapi.h>

#include <cstdint>
#include <optional>
#include <string>

#include "core/block_counters.h"
#include "core/recent_blocks.h"

namespace vexbane::tray {

// The local calendar of this computer (GetLocalTime).
blocks::Clock& LocalClock() noexcept;

struct ModTray {
  std::string strAppPath;            // program folder, no trailing backslash
  std::string strSystemDir;          // Windows system folder
  int16_t intPopupLevel = 0;         // "Popup" as read at start-up
  int16_t intWinNT = 1;              // 1 on the NT family, 0 on 95/98/Me
  int32_t lngFormLeft = 0;           // default position of the tool windows, twips
  int32_t lngFormTop = 0;
  bool blnCookieFormOpen = false;    // the cookie manager is open
  bool blnAllowListFormOpen = false; // the allow-list editor is open
  bool blnRecentFormOpen = false;    // the "Recently Blocked" window is open
  bool blnBlockedHostsFormOpen = false;  // the Blocked Hosts editor is open
  blocks::RecentBlocks recentBlocks;  // blocks reported since start-up, newest first
  blocks::BlockTally blockTally{LocalClock()};  // blocks today and in all, as stored
  NOTIFYICONDATAA nidTray = {};      // the tray icon's record
};

// The running program's module variables (one tray program per process).
ModTray& Module() noexcept;

// "<program folder>\<name>"; nothing when the program folder is no absolute folder (its path was
// too long to be had), so that no data file lands at the current drive's root.
std::optional<std::string> DataFilePath(const char* name);

}  // namespace vexbane::tray
