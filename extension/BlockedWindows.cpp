// The windows a browser thread blocked lately.
#include "BlockedWindows.h"

#include "core/block_record_v2.h"
#include "core/recent_blocks.h"

namespace vexbane::ext {

uint32_t BlockedWindows::Remember(HWND frame, const std::string& targetUrl, const std::string& pageUrl,
                                  bool asTab) {
  if (targetUrl.empty() || blocks::HasControlBytes(targetUrl)) return 0;
  if (++m_lastId == 0) m_lastId = 1;
  m_windows.push_back({m_lastId, frame, targetUrl, pageUrl, asTab});
  while (m_windows.size() > blocks::kRecentCapacity) m_windows.erase(m_windows.begin());
  return m_lastId;
}

const BlockedWindow* BlockedWindows::Find(uint32_t id, HWND frame) const noexcept {
  for (const BlockedWindow& w : m_windows)
    if (w.id == id && w.frame == frame) return &w;
  return nullptr;
}

void BlockedWindows::ForgetFrame(HWND frame) noexcept {
  for (auto it = m_windows.begin(); it != m_windows.end();)
    it = it->frame == frame ? m_windows.erase(it) : it + 1;
}

void BlockedWindows::AddOpener(HWND frame, BlockedWindowOpener* opener) {
  RemoveOpener(opener);
  m_openers.push_back({frame, opener});
}

void BlockedWindows::RemoveOpener(BlockedWindowOpener* opener) noexcept {
  for (auto it = m_openers.begin(); it != m_openers.end();) {
    if (it->opener != opener) {
      ++it;
      continue;
    }
    ForgetFrame(it->frame);
    it = m_openers.erase(it);
  }
}

bool BlockedWindows::Open(HWND frame, uint32_t id) noexcept {
  const BlockedWindow* window = Find(id, frame);
  if (!window) return false;
  for (const Opener& o : m_openers)
    if (o.frame == frame) {
      // A copy: opening may run events that change this list.
      try {
        const BlockedWindow copy = *window;
        o.opener->OpenBlocked(copy);
      } catch (...) {
        return false;
      }
      return true;
    }
  return false;
}

UINT OpenBlockedMessage() noexcept {
  // Every message of the browser thread passes the hook: register once (the number is the
  // same for every thread and process of the session, so a race only registers it twice).
  static volatile UINT s_message = 0;
  if (!s_message) s_message = ::RegisterWindowMessageA(blocks::kOpenBlockedMessageName);
  return s_message;
}

}  // namespace vexbane::ext
