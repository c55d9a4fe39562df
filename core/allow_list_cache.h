// The allow list as last read and compiled, read again only when the file may have changed.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "core/allow_list_matcher.h"
#include "core/file_freshness.h"

namespace vexbane {

// What the cache needs of the file system; the Windows side opens, stamps and reads the file.
class AllowListFile {
 public:
  virtual ~AllowListFile() = default;
  // Opens the file, creating it empty when it is missing, and stamps it. False when it cannot
  // be opened or stamped.
  virtual bool Open(FileStamp& stamp) = 0;
  // The whole text of the file that Open opened. False when it cannot be read.
  virtual bool ReadAll(std::string& text) = 0;
  // This computer's clock, in the stamp's ticks.
  virtual uint64_t Now() = 0;
  // True only when nothing can have changed the file since the last Open (its folder's change
  // notification, armed before that Open, has not fired). Asked before Open; false when unknown.
  virtual bool Unchanged() { return false; }
};

// How long a copy found still trusted may stand without stamping the file again, while the file
// says it is unchanged. Shorter than the freshness margin: a list edited where no change is ever
// notified (a share that sends none) is still seen within the margin.
inline constexpr uint64_t kRestampTicks = 2 * kFileTicksPerSecond;

class AllowListCache {
 public:
  // The list for `path` as the file holds it now, or null when the file cannot be opened or
  // read (nothing is allowed then). The pointer stays valid until the next call.
  const AllowListMatcher* Current(const std::string& path, AllowListFile& file);
  // Changes each time Current builds its list anew (another text, another path, or after a
  // failed read), never while it hands out the same list: what a caller prepares from the list
  // stays good while this number stays the same. 0 before the first list.
  uint64_t generation() const noexcept { return m_generation; }

 private:
  void Forget();

  std::string m_path;
  std::string m_text;  // the text the matcher was built from
  std::unique_ptr<AllowListMatcher> m_matcher;
  FileStamp m_stamp;             // the stamp the text was read under
  uint64_t m_stampSeenAt = 0;    // when that stamp was first seen
  uint64_t m_readAt = 0;
  uint64_t m_trustedAt = 0;      // when the copy was last stamped and found trusted; 0: not so
  uint64_t m_generation = 0;
};

}  // namespace vexbane
