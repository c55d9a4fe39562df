// frmRecentBlocked: the buttons that act on where a blocked window was going, "Open" and "Block Host".
#include <windows.h>
#include <shellapi.h>

#include <cstdint>
#include <cstring>
#include <utility>

#include "AllowListFile.h"
#include "ModTray.h"
#include "core/block_record_v2.h"
#include "core/blocked_hosts.h"
#include "core/recent_blocks_status.h"
#include "core/recent_blocks_target.h"
#include "core/settings.h"
#include "frmMessage.h"
#include "frmRecentBlocked.h"
#include "win/registry.h"
#include "win/window_walk.h"

namespace vexbane::tray {
namespace {

constexpr char kNoTarget[] = "The browser did not say where this window was going.";

// The browser window that tried is still there: the window handle still names a browser frame.
bool IsBrowserFrame(HWND window) noexcept {
  char name[64] = {};
  return window && ::IsWindow(window) && ::GetClassNameA(window, name, sizeof name) &&
         std::strcmp(name, "IEFrame") == 0;
}

// Where "Open" is posted: the frame, or the window the record names for it (a tab's, in IE 7
// and 8) while that window still lies below the same frame; null when it is gone.
HWND OpenTaker(HWND frame, uint32_t openWindow) noexcept {
  if (!openWindow) return frame;
  // Handles travel as 32 bits and widen as the system widens them: sign-extended.
  HWND own = reinterpret_cast<HWND>(static_cast<intptr_t>(static_cast<int32_t>(openWindow)));
  return ::IsWindow(own) && win::TopLevelOf(own) == frame ? own : nullptr;
}

// The browser program the shell registered under App Paths, as the shell itself would find it
// on Windows; "IEXPLORE.EXE" for the shell to look up when the entry is missing.
std::string BrowserProgram() {
  std::string bytes;
  if (win::QueryValueBytes(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\IEXPLORE.EXE",
                           "", MAX_PATH, bytes) == ERROR_SUCCESS) {
    bytes = bytes.substr(0, bytes.find('\0'));
    if (bytes.size() > 2 && bytes.front() == '"' && bytes.back() == '"') bytes = bytes.substr(1, bytes.size() - 2);
    if (!bytes.empty() && ::GetFileAttributesA(bytes.c_str()) != INVALID_FILE_ATTRIBUTES) return bytes;
  }
  return "IEXPLORE.EXE";
}

}  // namespace

void frmRecentBlocked::EnableRowButtons() noexcept {
  const blocks::RecentBlock* row = Module().recentBlocks.Find(SelectedBlock());
  const bool target = row && !row->record.targetUrl.empty();
  // A button that loses its use while it holds the keyboard hands it to the list.
  HWND focus = ::GetFocus();
  const std::pair<int, bool> buttons[] = {
      {cmdOpen, target}, {cmdBlockHost, target}, {cmdAllowSite, row != nullptr}, {cmdCopyAddress, row != nullptr}};
  for (const auto& [id, enabled] : buttons) {
    HWND button = Item(id);
    if (!enabled && button == focus) ::SetFocus(Item(lstBlocks));
    ::EnableWindow(button, enabled);
  }
}

void frmRecentBlocked::cmdOpen_Click() noexcept {
  try {
    const blocks::RecentBlock* row = Module().recentBlocks.Find(SelectedBlock());
    if (!row) {
      ShowMessageOver(hwnd(), "Open", "You should select one item in the list box first!", "Ok");
      return;
    }
    const std::string& target = row->record.targetUrl;
    if (target.empty()) return SetStatus(kNoTarget);
    HWND frame = reinterpret_cast<HWND>(row->frame);
    // In the browser window that tried, so the site's session applies; its helper opens the
    // window with the page as referrer and does not block or count it.
    HWND taker = OpenTaker(frame, row->record.openWindow);
    if (row->record.blockId && IsBrowserFrame(frame) && taker &&
        ::PostMessageA(taker, ::RegisterWindowMessageA(blocks::kOpenBlockedMessageName), row->record.blockId, 0)) {
      SetStatus("The window opens from the browser window that tried.");
      return;
    }
    // A quote would end the address early on the new browser's command line.
    if (target.find('"') != std::string::npos || blocks::HasControlBytes(target))
      return SetStatus("This address cannot be handed to a new browser window.");
    const std::string quoted = "\"" + target + "\"";
    const std::string program = BrowserProgram();
    const HINSTANCE started = ::ShellExecuteA(hwnd(), "open", program.c_str(), quoted.c_str(), nullptr, SW_SHOWNORMAL);
    if (reinterpret_cast<INT_PTR>(started) > 32)
      SetStatus("The browser window that tried is closed: the window opens in a new one.");
    else
      SetStatus("No browser could be started for the address.");
  } catch (...) {
  }
}

void frmRecentBlocked::cmdBlockHost_Click() noexcept {
  try {
    const blocks::RecentBlock* row = Module().recentBlocks.Find(SelectedBlock());
    if (!row) {
      ShowMessageOver(hwnd(), "Block host", "You should select one item in the list box first!", "Ok");
      return;
    }
    const std::string host = blocks::TargetHostOf(*row);
    if (host.empty()) return SetStatus(kNoTarget);
    // Read afresh and rewrite whole: a list that cannot be read is never overwritten.
    std::string why;
    auto entries = ReadListFile(settings::kBlockedHostFile, &why);
    if (!entries) return SetStatus(WithCause("The Blocked Hosts list could not be read; nothing was changed.", why));
    auto added = blocks::AddBlockedHost(*entries, row->record.targetUrl);
    if (!added) return SetStatus(host + " is already on the Blocked Hosts list.");
    if (WriteListFile(settings::kBlockedHostFile, *added, &why))
      SetStatus(blocks::BlockHostAddedText(host));
    else
      SetStatus(WithCause("The Blocked Hosts list could not be written; nothing was changed.", why));
  } catch (...) {
  }
}

}  // namespace vexbane::tray
