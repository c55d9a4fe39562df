// Signals to the tray program.
#include "TraySignal.h"

#include "BrowserProps.h"
#include "ModVexbaneIE.h"
#include "ThreadState.h"
#include "core/block_record_v3.h"
#include "core/newwindow_host.h"
#include "core/quit_count.h"
#include "core/settings.h"
#include "win/window_walk.h"

namespace vexbane::ext {
namespace {

bool IsTrayButtonWindow(HWND hwnd, const char* caption) noexcept {
  if (!hwnd || !::IsWindow(hwnd)) return false;
  HWND parent = ::GetParent(hwnd);
  if (!parent) return false;
  try {
    return newwindow::IsTrayButton(WindowText(hwnd), WindowText(parent), caption);
  } catch (...) {
    return false;
  }
}

}  // namespace

bool PostToTrayButton(HWND& hwnd, const char* valueName, const char* caption) noexcept {
  if (!IsTrayButtonWindow(hwnd, caption)) {
    try {
      hwnd = HandleFromText(ReadRegValue(settings::kProductKeyPath, valueName), hwnd);
    } catch (...) {
    }
    if (!IsTrayButtonWindow(hwnd, caption)) return false;
  }
  return ::PostMessageA(hwnd, BM_CLICK, 0, 0) != FALSE;
}

bool AskTrayToCleanCookies(HWND& formButton, HWND frame) noexcept {
  if (!frame || !IsTrayButtonWindow(formButton, newwindow::kFormButtonCaption)) {
    try {
      formButton = HandleFromText(ReadRegValue(settings::kProductKeyPath, settings::kHForm), formButton);
    } catch (...) {
    }
    if (!frame || !IsTrayButtonWindow(formButton, newwindow::kFormButtonCaption)) return false;
  }
  COPYDATASTRUCT data = {};
  data.dwData = quit::kCleanCookiesTag;
  DWORD_PTR taken = 0;
  const LRESULT sent = ::SendMessageTimeoutA(::GetParent(formButton), WM_COPYDATA, reinterpret_cast<WPARAM>(frame),
                                             reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG | SMTO_BLOCK,
                                             kCleanRequestTimeoutMs, &taken);
  return sent != 0 && taken == TRUE;
}

bool SendBlockRecord(HWND button, HWND frame, const blocks::BlockRecord& record) noexcept {
  if (!frame || !IsTrayButtonWindow(button, newwindow::kBlockButtonCaption)) return false;
  HWND form = ::GetParent(button);
  blocks::BlockRecordWireV3 wire = blocks::EncodeBlockRecordV3(record);
  COPYDATASTRUCT data = {};
  data.dwData = blocks::kRecordTag;
  data.cbData = sizeof wire;
  data.lpData = &wire;
  DWORD_PTR taken = 0;
  // SMTO_BLOCK: nothing else runs on the browser thread meanwhile, so no event handler or hook
  // re-enters the decision; SMTO_ABORTIFHUNG: a tray that stopped answering costs nothing.
  const LRESULT sent = ::SendMessageTimeoutA(form, WM_COPYDATA, reinterpret_cast<WPARAM>(frame),
                                             reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG | SMTO_BLOCK,
                                             kReportTimeoutMs, &taken);
  return sent != 0 && taken != 0;
}

void ReportBlock(const ThreadState& st, HWND frame, blocks::BlockKind kind, blocks::BlockReason reason,
                 int16_t level, const std::string& targetUrl, uint32_t blockId) noexcept {
  try {
    blocks::BlockRecord record;
    record.kind = kind;
    record.reason = reason;
    record.level = level;
    record.timeOfDayMs = TimeOfDayMs();
    record.pageUrl = st.strPageURL;
    record.targetUrl = targetUrl;
    record.blockId = blockId;
    // The tray's "Open" must reach this thread's message hook: in a tab (IE 7 and 8) the frame
    // belongs to another thread, so a window of this tab's own is named for it.
    const HWND own = win::WindowOfThisThread(frame);
    if (own && own != frame) record.openWindow = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(own));
    SendBlockRecord(st.lngButtonHwnd, frame, record);
  } catch (...) {
  }
}

}  // namespace vexbane::ext
