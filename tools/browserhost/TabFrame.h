// The frame window of the tab shapes: "IEFrame" on a thread of its own (IE 7) or in a process
// of its own (IE 8), so that no tab's helper shares its thread, and in IE 8 not its process.
#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "HostShape.h"
#include "win/unique.h"

namespace vexbane::host {

class TabFrame {
 public:
  // The frame, shown; null when it did not come up within a few seconds.
  static std::unique_ptr<TabFrame> Open(const ShapeOptions& shape);
  // Closes the frame window and waits for its thread or process to end.
  ~TabFrame();
  TabFrame(const TabFrame&) = delete;
  TabFrame& operator=(const TabFrame&) = delete;

  HWND hwnd() const noexcept { return m_hwnd; }
  // The thread and process that own the frame window.
  DWORD threadId() const noexcept { return m_threadId; }
  DWORD processId() const noexcept { return m_processId; }

 private:
  TabFrame() = default;
  HWND m_hwnd = nullptr;
  DWORD m_threadId = 0;
  DWORD m_processId = 0;
  win::UniqueHandle m_owner;  // the frame's thread (IE 7) or process (IE 8)
};

// The main of an IE 8 frame process: shows a frame titled `title` until the frame is closed or
// the process `parentPid` (the tabs' process) ends. Returns the exit code.
int RunFrameProcess(DWORD parentPid, const std::string& title);

// Waits up to `ms` for `handle` while dispatching the calling thread's messages, so windows of
// this thread stay responsive to the frame's and the tabs' calls. True when it was signalled.
// With a null `handle` it dispatches for the whole `ms` and returns false.
bool WaitPumping(HANDLE handle, DWORD ms) noexcept;

// The command-line switch that makes this program an IE 8 frame process.
inline constexpr char kFrameProcessSwitch[] = "--frame-process";

}  // namespace vexbane::host
