// The uninstaller's browser-closing passes, over an abstract window collection and screen.
#pragma once
#include <cstdint>
#include <functional>

namespace vexbane::unhitch {

inline constexpr int kMaxPasses = 20;
// GetWindowTextA gets a buffer of this many characters for every window it reads.
inline constexpr int kTitleBufferChars = 500;
// Browsers close on their own time: give them a moment before looking for a survivor,
// and a moment after the warning before the Messenger value is written.
inline constexpr uint32_t kPauseBeforeCheckMs = 200;
inline constexpr uint32_t kPauseAfterCheckMs = 400;

inline constexpr char kFrameClass[] = "IEFrame";
inline constexpr char kWarningText[] = "Please close all opened IE browsers first, then click the OK button!";
inline constexpr char kCaption[] = "Unhitch";
// MB_OK | MB_ICONEXCLAMATION.
inline constexpr uint32_t kWarningStyle = 0x30;

// One window of the shell's collection as the passes see it. Either call may fail; a failure
// reads as an empty title, and a failed quit is simply not retried within the pass.
class ShellWindow {
 public:
  virtual ~ShellWindow() = default;
  // Number of characters of the title (read into a buffer of kTitleBufferChars); 0 on failure.
  virtual int TitleLength() noexcept = 0;
  virtual void Quit() noexcept = 0;
};

// What the passes need from the system. Every walk is over a freshly created collection;
// when the collection cannot be created the walk visits nothing.
class CloseBrowsersPort {
 public:
  virtual ~CloseBrowsersPort() = default;
  // Visits the windows in collection order; `visit` returns false to stop the walk early.
  virtual void WalkShellWindows(const std::function<bool(ShellWindow&)>& visit) noexcept = 0;
  virtual void Pause(uint32_t milliseconds) noexcept = 0;
  virtual bool FrameWindowExists() noexcept = 0;
  // Shows the warning and returns once the user has pressed OK.
  virtual void ShowWarning() noexcept = 0;
};

struct CloseBrowsersResult {
  int passes = 0;
  bool warned = false;
};

// Asks every titled window to quit, pass after pass while some window keeps a title, at most
// kMaxPasses passes; then pauses, warns once if a browser frame is still open, and pauses again.
CloseBrowsersResult RunCloseBrowsers(CloseBrowsersPort& port) noexcept;

}  // namespace vexbane::unhitch
