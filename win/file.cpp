// Whole-file reads and atomic rewrites.
#include "win/file.h"

#include <cstdint>

#include "win/unique.h"
#include "win/version.h"

namespace vexbane::win {
namespace {

constexpr int kReplaceAttempts = 25;
constexpr DWORD kReplaceRetryMs = 20;
// A reader that meets a save in the middle of a rename looks again a few times. (On the 95
// family a reader that finds neither the file nor its set-aside copy has met a save that
// finished between its two looks; the next look finds the new file.)
constexpr int kReadAttempts = 10;
constexpr DWORD kReadRetryMs = 5;
// Saves on the 95 family take turns; a save that cannot get its turn fails rather than race.
constexpr DWORD kSaveTurnWaitMs = 5000;
constexpr char kSaveMutexName[] = "VexbaneDataFileSave";

bool Exists(const std::string& path) noexcept { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Only a plain file under the set-aside name is a save's copy: a folder of that name is the
// user's, never read as the list and never removed.
bool IsPlainFile(const std::string& path) noexcept {
  const DWORD attributes = ::GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsMissingFileError(DWORD rc) noexcept { return rc == ERROR_FILE_NOT_FOUND; }

// A call that failed without saying why still failed.
DWORD LastErrorOr(DWORD fallback) noexcept {
  DWORD rc = ::GetLastError();
  return rc != ERROR_SUCCESS ? rc : fallback;
}

bool IsBriefConflict(DWORD rc) noexcept { return rc == ERROR_ACCESS_DENIED || rc == ERROR_SHARING_VIOLATION; }

DWORD OpenOnce(const std::string& path, UniqueFile& file) {
  // The 95 family rejects FILE_SHARE_DELETE as an invalid parameter.
  DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE | (IsWindows9x() ? 0 : FILE_SHARE_DELETE);
  file.reset(::CreateFileA(path.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  return file ? ERROR_SUCCESS : LastErrorOr(ERROR_OPEN_FAILED);
}

// Writes all the data at the file's current position; a short write (a full disk) is a failure,
// whatever the call said.
DWORD WriteAll(HANDLE file, const std::string& data, const SaveCalls& calls) {
  DWORD written = 0;
  if (!calls.writeFile(file, data.data(), static_cast<DWORD>(data.size()), &written, nullptr))
    return LastErrorOr(ERROR_WRITE_FAULT);
  return written == data.size() ? ERROR_SUCCESS : ERROR_WRITE_FAULT;
}

bool SetLength(HANDLE file, uint64_t length) noexcept {
  LONG high = static_cast<LONG>(length >> 32);
  if (::SetFilePointer(file, static_cast<LONG>(length & 0xFFFFFFFFu), &high, FILE_BEGIN) == INVALID_SET_FILE_POINTER &&
      ::GetLastError() != NO_ERROR)
    return false;
  return ::SetEndOfFile(file) != FALSE;
}

bool Rewind(HANDLE file) noexcept {
  return ::SetFilePointer(file, 0, nullptr, FILE_BEGIN) != INVALID_SET_FILE_POINTER;
}

// Writes the data completely into a new file of this writer's own in the target's folder.
DWORD WriteTemporaryCopy(const std::string& path, const std::string& data, std::string& temp, const SaveCalls& calls) {
  std::string folder = FolderOf(path);
  if (folder.empty()) folder = ".";
  char name[MAX_PATH + 1] = {};
  // GetTempFileName creates the file under a name no other writer holds.
  if (!calls.getTempFileName(folder.c_str(), "vxb", 0, name)) return LastErrorOr(ERROR_CANNOT_MAKE);
  temp = name;
  UniqueFile file(::CreateFileA(name, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD rc = ERROR_SUCCESS;
  if (!file) {
    rc = LastErrorOr(ERROR_WRITE_FAULT);
  } else {
    rc = WriteAll(file.get(), data, calls);
    if (rc == ERROR_SUCCESS && !::FlushFileBuffers(file.get()))
      rc = LastErrorOr(ERROR_WRITE_FAULT);
    file.reset();
  }
  if (rc != ERROR_SUCCESS) ::DeleteFileA(name);
  return rc;
}

// Retries a rename or a delete while a reader holds one of the files for a moment.
template <typename Step>
DWORD RetryWhileHeld(Step step) {
  DWORD rc = ERROR_SUCCESS;
  for (int attempt = 0; attempt < kReplaceAttempts; ++attempt) {
    if (step()) return ERROR_SUCCESS;
    rc = LastErrorOr(ERROR_GEN_FAILURE);
    if (!IsBriefConflict(rc)) break;
    ::Sleep(kReplaceRetryMs);
  }
  return rc;
}

// Removes a set-aside copy left by an earlier save, retried as the renames are while a reader
// holds it for a moment. It is our own copy: a read-only bit on it (the file was read-only when
// set aside, or a backup tool copied the attribute) does not keep it.
DWORD RemoveSetAsideCopy(const std::string& aside) {
  const DWORD attributes = ::GetFileAttributesA(aside.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return ERROR_SUCCESS;
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return ERROR_ALREADY_EXISTS;
  if (attributes & FILE_ATTRIBUTE_READONLY) ::SetFileAttributesA(aside.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
  DWORD rc = RetryWhileHeld([&] { return ::DeleteFileA(aside.c_str()) != FALSE; });
  return rc == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : rc;
}

// What stands at the target and may not be replaced: a folder, or a file made read-only. The NT
// family's MoveFileEx refuses both; the 95 family's renames would not, so both refuse here alike
// (Wine's MoveFileEx replaces a read-only file as well).
DWORD CheckReplaceable(const std::string& path) {
  const DWORD attributes = ::GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return ERROR_SUCCESS;
  if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) return ERROR_ACCESS_DENIED;
  return ERROR_SUCCESS;
}

// The NT family replaces the file in one step.
DWORD MoveIntoPlace(const std::string& temp, const std::string& path) {
  return RetryWhileHeld([&] {
    return ::MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
  });
}

// Holds the turn of the 95 family's saves, shared by every process.
class SaveTurn {
 public:
  SaveTurn() noexcept : m_mutex(::CreateMutexA(nullptr, FALSE, kSaveMutexName)) {
    if (!m_mutex) return;
    DWORD wait = ::WaitForSingleObject(m_mutex.get(), kSaveTurnWaitMs);
    m_held = wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
  }
  ~SaveTurn() {
    if (m_held) ::ReleaseMutex(m_mutex.get());
  }
  SaveTurn(const SaveTurn&) = delete;
  SaveTurn& operator=(const SaveTurn&) = delete;
  bool Held() const noexcept { return m_held; }

 private:
  UniqueHandle m_mutex;
  bool m_held = false;
};

// The 95 family has MoveFile, which will not replace, and no MoveFileEx. The old file is set
// aside, the new one renamed into its place, then the old one removed. At every moment the file
// or its set-aside copy holds one complete version, and readers look at both.
DWORD SwapIntoPlace(const std::string& temp, const std::string& path) {
  const std::string aside = SetAsideName(path);
  const bool haveCurrent = Exists(path);
  if (haveCurrent) {
    // A set-aside copy beside a current file is left from an interrupted save that had already
    // put its new file in place. While it stands, the current file cannot take its name.
    DWORD rc = RemoveSetAsideCopy(aside);
    if (rc != ERROR_SUCCESS) return rc;
    rc = RetryWhileHeld([&] { return ::MoveFileA(path.c_str(), aside.c_str()) != FALSE; });
    if (rc != ERROR_SUCCESS) return rc;
  }
  DWORD rc = RetryWhileHeld([&] { return ::MoveFileA(temp.c_str(), path.c_str()) != FALSE; });
  if (rc != ERROR_SUCCESS) {
    if (haveCurrent) ::MoveFileA(aside.c_str(), path.c_str());
    return rc;
  }
  // The save is done; a copy that will not go now is removed by the next save.
  RemoveSetAsideCopy(aside);
  return ERROR_SUCCESS;
}

}  // namespace

std::string SetAsideName(const std::string& path) { return path + ".old"; }

DWORD OpenDataFile(const std::string& path, UniqueFile& file) {
  const bool setAsideToo = IsWindows9x();
  DWORD rc = ERROR_SUCCESS;
  for (int attempt = 0; attempt < kReadAttempts; ++attempt) {
    if (attempt > 0) ::Sleep(kReadRetryMs);
    rc = OpenOnce(path, file);
    if (IsMissingFileError(rc) && setAsideToo) {
      const std::string aside = SetAsideName(path);
      // A save is between its two renames, or was cut off there.
      rc = IsPlainFile(aside) ? OpenOnce(aside, file) : ERROR_FILE_NOT_FOUND;
      if (IsMissingFileError(rc)) continue;  // it has just finished: the new file is in place
    }
    // A save renaming the file holds it for a moment; a reader that gave up then would take the
    // list for empty.
    if (!IsBriefConflict(rc)) return rc;
  }
  return rc;
}

DWORD ReadToEnd(HANDLE file, std::string& data) {
  std::string out;
  char chunk[16384];
  for (;;) {
    DWORD got = 0;
    if (!::ReadFile(file, chunk, sizeof chunk, &got, nullptr)) return LastErrorOr(ERROR_READ_FAULT);
    if (got == 0) break;
    out.append(chunk, got);
  }
  data = std::move(out);
  return ERROR_SUCCESS;
}

DWORD ReadWholeFile(const std::string& path, std::string& data) {
  UniqueFile file;
  DWORD rc = OpenDataFile(path, file);
  return rc == ERROR_SUCCESS ? ReadToEnd(file.get(), data) : rc;
}

DWORD CreateFileIfMissing(const std::string& path) {
  if (Exists(path)) return ERROR_SUCCESS;
  auto create = [&]() -> DWORD {
    UniqueFile file(::CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file) return ERROR_SUCCESS;
    DWORD rc = LastErrorOr(ERROR_GEN_FAILURE);
    return rc == ERROR_FILE_EXISTS ? ERROR_SUCCESS : rc;
  };
  if (!IsWindows9x()) return create();
  // On the 95 family the file is missing for a moment inside every save: an empty file created
  // then would stand in the new one's way. Creating is a save of its own and takes its turn.
  SaveTurn turn;
  if (!turn.Held()) return ERROR_TIMEOUT;
  if (Exists(path) || IsPlainFile(SetAsideName(path))) return ERROR_SUCCESS;
  return create();
}

DWORD ReplaceFileContents(const std::string& path, const std::string& data) {
  return ReplaceFileContents(path, data, SaveCalls());
}

DWORD ReplaceFileContents(const std::string& path, const std::string& data, const SaveCalls& calls) {
  DWORD rc = CheckReplaceable(path);
  if (rc != ERROR_SUCCESS) return rc;
  std::string temp;
  rc = WriteTemporaryCopy(path, data, temp, calls);
  // A folder that refuses this account a new file may still grant it the file itself.
  if (rc == ERROR_ACCESS_DENIED && !IsWindows9x()) return RewriteFileInPlace(path, data, calls);
  if (rc != ERROR_SUCCESS) return rc;
  if (IsWindows9x()) {
    SaveTurn turn;
    rc = turn.Held() ? SwapIntoPlace(temp, path) : ERROR_TIMEOUT;
  } else {
    rc = MoveIntoPlace(temp, path);
  }
  if (rc != ERROR_SUCCESS) ::DeleteFileA(temp.c_str());
  return rc;
}

DWORD RewriteFileInPlace(const std::string& path, const std::string& data, const SaveCalls& calls) {
  // A read-only file stays as it is, whoever asks (Wine would let its administrator write it).
  if (::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) {
    const DWORD rc = CheckReplaceable(path);
    if (rc != ERROR_SUCCESS) return rc;
  }
  // Without sharing: readers look again for a moment (OpenDataFile) instead of reading a
  // half-written list, and no second writer interleaves.
  UniqueFile file(::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  for (int attempt = 1; !file && attempt < kReplaceAttempts; ++attempt) {
    if (!IsBriefConflict(::GetLastError())) break;
    ::Sleep(kReplaceRetryMs);
    file.reset(::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
  }
  if (!file) return LastErrorOr(ERROR_OPEN_FAILED);
  std::string old;
  DWORD rc = ReadToEnd(file.get(), old);
  if (rc != ERROR_SUCCESS) return rc;
  // Room first: a full disk refuses the longer length before a byte of the old list is touched.
  if (data.size() > old.size() && !SetLength(file.get(), data.size())) {
    rc = LastErrorOr(ERROR_DISK_FULL);
    SetLength(file.get(), old.size());
    return rc;
  }
  rc = Rewind(file.get()) ? WriteAll(file.get(), data, calls) : LastErrorOr(ERROR_WRITE_FAULT);
  if (rc == ERROR_SUCCESS && !::FlushFileBuffers(file.get())) rc = LastErrorOr(ERROR_WRITE_FAULT);
  if (rc == ERROR_SUCCESS && !SetLength(file.get(), data.size())) rc = LastErrorOr(ERROR_WRITE_FAULT);
  if (rc == ERROR_SUCCESS) return ::FlushFileBuffers(file.get()) ? ERROR_SUCCESS : LastErrorOr(ERROR_WRITE_FAULT);
  // The old bytes go back into room the file already has, so this write needs no new space.
  if (Rewind(file.get()) && WriteAll(file.get(), old, SaveCalls()) == ERROR_SUCCESS) SetLength(file.get(), old.size());
  ::FlushFileBuffers(file.get());
  return rc;
}

std::string FolderOf(const std::string& path) {
  size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string ModuleFolder(HMODULE module) {
  char buffer[MAX_PATH + 1] = {};
  DWORD n = ::GetModuleFileNameA(module, buffer, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return std::string();
  return FolderOf(std::string(buffer, n));
}

}  // namespace vexbane::win
