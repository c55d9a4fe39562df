// Keeping the compiled allow list while the file stands still.
#include "allow_list_cache.h"

#include <utility>

#include "core/allow_list.h"

namespace vexbane {

void AllowListCache::Forget() {
  m_matcher.reset();
  m_text.clear();
  m_stamp = FileStamp{};
  m_stampSeenAt = 0;
  m_readAt = 0;
  m_trustedAt = 0;
}

const AllowListMatcher* AllowListCache::Current(const std::string& path, AllowListFile& file) {
  if (path != m_path) {
    Forget();
    m_path = path;
  }
  // The clock first: a change made while the file is stamped and read is then never older
  // than the moment the copy counts as read.
  const uint64_t now = file.Now();
  // A trusted copy stamped a moment ago, in a folder where nothing was written since: the
  // stamp would say the same, and costs the decision more than all its other questions.
  if (m_matcher && m_trustedAt != 0 && now >= m_trustedAt && now - m_trustedAt < kRestampTicks &&
      file.Unchanged())
    return m_matcher.get();
  FileStamp stamp;
  if (!file.Open(stamp)) {
    Forget();
    return nullptr;
  }
  if (m_matcher && CopyStillTrusted(m_stamp, m_stampSeenAt, m_readAt, stamp)) {
    m_trustedAt = now;
    return m_matcher.get();
  }
  m_trustedAt = 0;
  // A stamp counts as seen once it has been taken: the write behind it lies before this moment.
  // A clock set back behind that sighting starts the wait afresh rather than for hours.
  const bool seenBefore = m_matcher && stamp == m_stamp && m_stampSeenAt <= now;
  const uint64_t seenAt = seenBefore ? m_stampSeenAt : file.Now();

  std::string text;
  if (!file.ReadAll(text)) {
    Forget();
    return nullptr;
  }
  // Until its stamp has stood still for the margin the file is read at every use; while it holds
  // the same text the compiled list is kept, so only the read is paid again.
  if (!m_matcher || text != m_text) {
    auto matcher = std::make_unique<AllowListMatcher>(ParseAllowList(text));
    m_text = std::move(text);
    m_matcher = std::move(matcher);
    ++m_generation;
  }
  m_stamp = stamp;
  m_stampSeenAt = seenAt;
  m_readAt = now;
  // Read a margin after its stamp was first seen: this copy is one the next stamp would trust.
  if (CopyStillTrusted(m_stamp, m_stampSeenAt, m_readAt, stamp)) m_trustedAt = now;
  return m_matcher.get();
}

}  // namespace vexbane
