// The racily-clean rule for cached copies of files.
#include "file_freshness.h"

namespace vexbane {

bool CopyStillTrusted(const FileStamp& copyStamp, uint64_t readAt, const FileStamp& now) {
  if (copyStamp != now) return false;
  return copyStamp.lastWrite < readAt && readAt - copyStamp.lastWrite > kRacyMarginTicks;
}

}  // namespace vexbane
