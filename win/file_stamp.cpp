// Stamping and reading an open file.
#include "win/file_stamp.h"

#include <utility>

namespace vexbane::win {
namespace {

uint64_t Join(DWORD high, DWORD low) { return (static_cast<uint64_t>(high) << 32) | low; }
uint64_t Ticks(const FILETIME& t) { return Join(t.dwHighDateTime, t.dwLowDateTime); }

}  // namespace

DWORD OpenOrCreateForReading(const std::string& path, UniqueFile& file) {
  file.reset(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr));
  return file ? ERROR_SUCCESS : ::GetLastError();
}

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

DWORD ReadToEnd(HANDLE file, std::string& data) {
  std::string out;
  char chunk[16384];
  for (;;) {
    DWORD got = 0;
    if (!::ReadFile(file, chunk, sizeof chunk, &got, nullptr)) return ::GetLastError();
    if (got == 0) break;
    out.append(chunk, got);
  }
  data = std::move(out);
  return ERROR_SUCCESS;
}

uint64_t SystemTimeTicks() {
  FILETIME now;
  ::GetSystemTimeAsFileTime(&now);
  return Ticks(now);
}

}  // namespace vexbane::win
