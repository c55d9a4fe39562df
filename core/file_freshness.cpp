// The racily-clean rule for cached copies of files, on the reader's own clock.
#include "file_freshness.h"

namespace vexbane {

bool CopyStillTrusted(const FileStamp& copyStamp, uint64_t firstSeenAt, uint64_t readAt, const FileStamp& now) {
  if (copyStamp != now) return false;
  return readAt >= firstSeenAt && readAt - firstSeenAt >= kRacyMarginTicks;
}

}  // namespace vexbane
