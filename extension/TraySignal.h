// Signals to the tray program: a BM_CLICK posted to one of its two hidden buttons.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "core/block_record.h"

namespace vexbane::ext {

struct ThreadState;

// The longest the browser thread waits for the tray to take a block record.
inline constexpr UINT kReportTimeoutMs = 200;
// The longest it waits for the tray to take a request to clean the cookies.
inline constexpr UINT kCleanRequestTimeoutMs = 5000;

// Posts BM_CLICK to `hwnd` only while it still is the tray's button: a window captioned
// `caption` ("Block" or "Form Close") whose parent is captioned "Vexbane Tray Form". A handle
// read earlier may by now name another program's window (the tray program ended and the
// number was reused); then the value `valueName` ("hButton" or "hForm") is read once more into
// `hwnd` and checked again. Returns true when the click was posted.
bool PostToTrayButton(HWND& hwnd, const char* valueName, const char* caption) noexcept;

// Tells the tray what was blocked: a block record sent as WM_COPYDATA (wParam the browser frame
// `frame`) to the form that owns `button`, once more checked to be the tray's "Block" button.
// The browser thread waits at most kReportTimeoutMs and handles no other message meanwhile; a
// hung tray is not waited for at all. Returns true when the tray took the record.
bool SendBlockRecord(HWND button, HWND frame, const blocks::BlockRecord& record) noexcept;

// Asks the tray program, found through `formButton` ("Form Close", checked and read again as
// PostToTrayButton does), to run the automatic cookie clean now, in the name of the quitting
// browser frame `frame`. The browser thread waits until the tray has taken the request (it
// cleans after answering). True when the tray took it.
bool AskTrayToCleanCookies(HWND& formButton, HWND frame) noexcept;

// After the click to "Block" has been posted: the record of this thread's page, now, sent in the
// name of the browser frame `frame` that blocked.
// `targetUrl` is where a new window was going (empty when unknown) and `blockId` the thread's
// number for the block (0 when it cannot be asked for again).
void ReportBlock(const ThreadState& st, HWND frame, blocks::BlockKind kind, blocks::BlockReason reason,
                 int16_t level, const std::string& targetUrl = std::string(), uint32_t blockId = 0) noexcept;

}  // namespace vexbane::ext
