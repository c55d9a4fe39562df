// When a copy of a file read earlier may stand for the file without reading it again.
#pragma once
#include <cstdint>

namespace vexbane {

// What the file system tells of a file without reading it. Times are FILETIME counts (100 ns
// since 1601, UTC).
struct FileStamp {
  uint64_t size = 0;
  uint64_t lastWrite = 0;
  uint64_t creation = 0;

  bool operator==(const FileStamp& o) const {
    return size == o.size && lastWrite == o.lastWrite && creation == o.creation;
  }
  bool operator!=(const FileStamp& o) const { return !(*this == o); }
};

inline constexpr uint64_t kFileTicksPerSecond = 10000000;

// A write time has to be this much older than the moment a copy was read for the copy to be
// trusted. FAT keeps write times to 2 seconds (rounded down, in local time); the rest is room
// for a file server's clock and for a write time set when the writer closes the file.
inline constexpr uint64_t kRacyMarginTicks = 5 * kFileTicksPerSecond;

// True when a copy read at `readAt` (the system clock read before the file was stamped as
// `copyStamp` and read) still holds what the file holds, now that the file is stamped `now`.
//
// Why that is enough, on every file system of the floor:
// - Every change made after the copy was read carries a write time of at least
//   readAt - 2 s (FAT's rounding), or later when it is recorded at close. A copy is trusted only
//   when its own write time is older than readAt - kRacyMarginTicks, so such a change always
//   shows a write time different from the copy's, whatever the size. This is the "racily
//   clean" rule: a copy read within the margin of the file's last write is never trusted, and
//   is read again at the next use until the file has stood still for the margin. That catches a
//   rewrite of the same size within the same second (another program writing in place).
// - A writer that sets the write time itself (a restored older copy, an unpacked backup)
//   brings the time of a different version, so the write time or the size differs from the
//   copy's; a new file put in its place (a replace by rename included) also brings its own
//   creation time. Only a file whose text differs while its size, write time and creation time
//   all equal those of a copy read well after that write could pass unseen: it would take a
//   second file written in the same instant as the first and renamed over it later.
// - A write time in the future (a clock set back, a server ahead) is never older than the
//   read, so such a file is read at every use rather than trusted.
// - A missing file has no stamp: the caller drops its copy.
bool CopyStillTrusted(const FileStamp& copyStamp, uint64_t readAt, const FileStamp& now);

}  // namespace vexbane
