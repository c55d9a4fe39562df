// Internet Explorer 7 and 8 put several browsers (tabs) below one frame window, each with its
// own helper on a thread of its own, and the frame on yet another thread (8: maybe in another
// process). get_HWND gives every tab the frame, so what marks a tab is a frame that is not the
// helper's own thread's; IE 6's window and its browser share one thread.
#pragma once
#include <windows.h>

namespace vexbane::ext {

// True when `frame` is a window of another thread than the calling one.
bool FrameOfAnotherThread(HWND frame) noexcept;

// Whether a dialog owned by `frame` is the calling thread's browser's to judge. Ownership
// always goes to the top-level frame, so with tabs every tab of the frame sees every tab's
// dialog; only the tab that asked for it (the thread that made it) judges it.
bool DialogOfThisBrowser(HWND frame, HWND dialog) noexcept;

}  // namespace vexbane::ext
