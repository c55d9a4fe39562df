// frmTrayForm's block records: what the helper reports after each block, kept for the
// "Recently Blocked" window and counted in the settings key.
#include "frmTrayForm.h"

#include <cstring>

#include "core/block_counters.h"
#include "core/block_record.h"
#include "core/block_record_v2.h"
#include "core/quit_count.h"
#include "CookieCleanerClient.h"
#include "frmRecentBlocked.h"

namespace vexbane::tray {
namespace {

// Only a browser frame blocks: the helper names the frame it blocked in.
bool IsBrowserFrame(HWND window) noexcept {
  char name[64] = {};
  return window && ::IsWindow(window) && ::GetClassNameA(window, name, sizeof name) &&
         std::strcmp(name, kBrowserFrameClass) == 0;
}

}  // namespace

void frmTrayForm::LoadBlockCounts() noexcept {
  if (!objRegistry) return;
  try {
    // The string reader answers "1" for a missing value, which would start every count at one.
    auto stored = [this](const char* name) -> std::optional<std::string> {
      if (!objRegistry->ValueExists(name)) return std::nullopt;
      return objRegistry->GetRegStringValue(name);
    };
    m_module.blockTally.Load({stored(blocks::kBlocksToday), stored(blocks::kBlocksTotal), stored(blocks::kBlocksDay)});
  } catch (...) {
  }
}

LRESULT frmTrayForm::OnCleanRequest(HWND sender) noexcept {
  try {
    // Only a quitting browser asks, and only what the user chose is done.
    if (!IsBrowserFrame(sender) || !objRegistry ||
        !quit::ShouldCleanCookies(objRegistry->GetRegStringValue(settings::kAutoClean)))
      return FALSE;
    // The browser need not wait for the cleaning; its click to end this program comes after it.
    ::ReplyMessage(TRUE);
    cookieclient::RunCookieCleaner();
    return TRUE;
  } catch (...) {
    return FALSE;
  }
}

LRESULT frmTrayForm::OnBlockRecord(HWND sender, const COPYDATASTRUCT* data) noexcept {
  try {
    if (data && data->dwData == quit::kCleanCookiesTag) return OnCleanRequest(sender);
    if (!data || data->dwData != blocks::kRecordTag) return FALSE;
    auto record = blocks::ParseAnyBlockRecord(data->lpData, data->cbData);
    if (!record || !IsBrowserFrame(sender)) return FALSE;
    // The record is copied: the browser thread need not wait for the registry writes below.
    ::ReplyMessage(TRUE);
    const uint32_t id = m_module.recentBlocks.Add(*record);
    m_module.recentBlocks.SetFrame(id, reinterpret_cast<uintptr_t>(sender));
    m_module.blockTally.Add();
    WriteAll(m_module.blockTally.Writes());
    frmRecentBlocked::RefreshOpen();
    return TRUE;
  } catch (...) {
    return FALSE;
  }
}

}  // namespace vexbane::tray
