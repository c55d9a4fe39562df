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

// How long a stamp must have stood still, on our own clock, before a copy read after that may
// be trusted. FAT keeps write times to 2 seconds (NT's FAT driver rounds up, so a recorded time
// may lie up to 2 s after the write); the rest is room for a write time that is recorded when
// the writer closes the file.
inline constexpr uint64_t kRacyMarginTicks = 5 * kFileTicksPerSecond;

// True when a copy still holds what the file holds, now that the file is stamped `now`. The
// copy was read under `copyStamp` at `readAt` (our clock, read before the file was stamped and
// read); that stamp was first seen at `firstSeenAt` (our clock, read after the file was stamped).
//
// Why that is enough, on every file system of the floor, whatever the file server's clock says:
// - A copy is trusted only when it was read at least kRacyMarginTicks after its stamp was first
//   seen. The write that gave the stamp lies before that sighting, so every later change comes
//   at least the margin after it and carries another write time, whatever the size and however
//   the times are rounded. A copy read within the margin is read again at the next use, until
//   the stamp has stood still for the margin: that catches a rewrite of the same size within the
//   same second (another program writing in place). Only our own clock is compared with itself:
//   the write times come from the clock of whatever machine holds the file (a file server's, on
//   a network share), and are only ever compared with each other.
// - A writer that sets the write time itself (a restored older copy, an unpacked backup) brings
//   the time of a different version, so the write time or the size differs from the copy's.
// - A new file put in place by a rename brings its own write time, and its own creation time
//   unless it comes within 15 s of the old one's removal: file system tunnelling gives it the old
//   file's creation time then. The write time is what tells it apart.
// - A clock set back makes a read seem earlier than the sighting: the copy is not trusted until
//   the margin has passed again.
// - A missing file has no stamp: the caller drops its copy.
bool CopyStillTrusted(const FileStamp& copyStamp, uint64_t firstSeenAt, uint64_t readAt, const FileStamp& now);

}  // namespace vexbane
