// Stamping an open file.
#include "win/file_stamp.h"

namespace vexbane::win {
namespace {

uint64_t Join(DWORD high, DWORD low) { return (static_cast<uint64_t>(high) << 32) | low; }
uint64_t Ticks(const FILETIME& t) { return Join(t.dwHighDateTime, t.dwLowDateTime); }

}  // namespace

DWORD StampOf(HANDLE file, FileStamp& stamp) {
  FILETIME created, accessed, written;
  if (!::GetFileTime(file, &created, &accessed, &written)) return ::GetLastError();
  DWORD high = 0;
  const DWORD low = ::GetFileSize(file, &high);
  if (low == INVALID_FILE_SIZE && ::GetLastError() != NO_ERROR) return ::GetLastError();
  stamp.size = Join(high, low);
  stamp.lastWrite = Ticks(written);
  stamp.creation = Ticks(created);
  return ERROR_SUCCESS;
}

uint64_t SystemTimeTicks() {
  FILETIME now;
  ::GetSystemTimeAsFileTime(&now);
  return Ticks(now);
}

}  // namespace vexbane::win
