// The windows this browser thread blocked lately, kept so that the tray's "Open" can ask for one.
#pragma once
#include <windows.h>

#include <cstdint>
#include <vector>
#include <string>

namespace vexbane::ext {

struct BlockedWindow {
  uint32_t id = 0;
  HWND frame = nullptr;    // the browser frame whose page asked for it
  std::string targetUrl;   // where it was going
  std::string pageUrl;     // the page, sent as the referrer when it is opened after all
  bool asTab = false;      // the page asked for a tab (IE 7 and later): it opens as one
};

// The helper object of a browser frame, which can open a blocked window in its browser.
class BlockedWindowOpener {
 public:
  virtual void OpenBlocked(const BlockedWindow& window) noexcept = 0;

 protected:
  ~BlockedWindowOpener() = default;
};

class BlockedWindows {
 public:
  // Keeps a blocked window with a known target; returns its number (never 0), or 0 when there
  // is no target to open it at. The oldest go beyond the tray's twenty rows.
  uint32_t Remember(HWND frame, const std::string& targetUrl, const std::string& pageUrl, bool asTab);
  const BlockedWindow* Find(uint32_t id, HWND frame) const noexcept;
  // A frame that quits takes its blocked windows with it.
  void ForgetFrame(HWND frame) noexcept;

  // The helper objects of this thread's frames, from attach to detach.
  void AddOpener(HWND frame, BlockedWindowOpener* opener);
  void RemoveOpener(BlockedWindowOpener* opener) noexcept;
  // Opens the blocked window `id` of `frame` through its frame's helper; false when the frame
  // has no helper or no such window (it was forgotten, or the number was never this frame's).
  bool Open(HWND frame, uint32_t id) noexcept;

 private:
  struct Opener {
    HWND frame;
    BlockedWindowOpener* opener;
  };
  // Vectors: a few rows at most, and the i686 cross compiler's link-time optimiser fails on
  // std::deque here (an internal error in the shipped build).
  std::vector<BlockedWindow> m_windows;
  std::vector<Opener> m_openers;
  uint32_t m_lastId = 0;
};

// The message the tray posts to a browser frame to open its blocked window `wParam` (the number
// in the block record); registered by name, so both programs get the same number.
UINT OpenBlockedMessage() noexcept;

}  // namespace vexbane::ext
