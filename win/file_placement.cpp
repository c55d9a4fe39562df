// Setup's file placement with its undo, by family.
#include "win/file_placement.h"

#include "win/file.h"
#include "win/restart_files.h"
#include "win/unique.h"
#include "win/version.h"

namespace vexbane::win {
namespace {

DWORD LastErrorOr(DWORD fallback) {
  DWORD rc = ::GetLastError();
  return rc != ERROR_SUCCESS ? rc : fallback;
}

}  // namespace

bool IsFileInUse(const std::string& path) {
  UniqueFile file(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  if (file) return false;
  const DWORD rc = ::GetLastError();
  return rc == ERROR_SHARING_VIOLATION || rc == ERROR_LOCK_VIOLATION;
}

std::string ReserveFileName(const std::string& folder, const char* prefix) {
  char name[MAX_PATH] = {};
  if (!::GetTempFileNameA(folder.c_str(), prefix, 0, name)) return std::string();
  return name;
}

DWORD WriteNewFile(const std::string& path, const void* data, size_t size) {
  DWORD rc = ERROR_SUCCESS;
  {
    UniqueFile file(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return LastErrorOr(ERROR_CANNOT_MAKE);
    DWORD written = 0;
    if (!::WriteFile(file.get(), data, static_cast<DWORD>(size), &written, nullptr))
      rc = LastErrorOr(ERROR_WRITE_FAULT);
    else if (written != size)
      rc = ERROR_WRITE_FAULT;
  }
  if (rc != ERROR_SUCCESS) ::DeleteFileA(path.c_str());
  return rc;
}

DWORD ReadPlainFile(const std::string& path, std::string& data) {
  UniqueFile file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!file) return LastErrorOr(ERROR_OPEN_FAILED);
  const DWORD size = ::GetFileSize(file.get(), nullptr);
  if (size == INVALID_FILE_SIZE) return LastErrorOr(ERROR_READ_FAULT);
  std::string bytes(size, '\0');
  DWORD got = 0;
  if (size && (!::ReadFile(file.get(), &bytes[0], size, &got, nullptr) || got != size)) return LastErrorOr(ERROR_READ_FAULT);
  data.swap(bytes);
  return ERROR_SUCCESS;
}

DWORD WritePlainFile(const std::string& path, const std::string& data) {
  UniqueFile file(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return LastErrorOr(ERROR_CANNOT_MAKE);
  DWORD written = 0;
  if (!::WriteFile(file.get(), data.data(), static_cast<DWORD>(data.size()), &written, nullptr)) return LastErrorOr(ERROR_WRITE_FAULT);
  return written == data.size() ? ERROR_SUCCESS : ERROR_WRITE_FAULT;
}

DWORD PlaceFile(const std::string& target, const void* data, size_t size, PlacedFile& placed) {
  placed = PlacedFile();
  placed.target = target;
  const DWORD attributes = ::GetFileAttributesA(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) {
    if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) return ERROR_ACCESS_DENIED;
    const std::string folder = FolderOf(target);
    if (IsWindows9x() && IsFileInUse(target)) {
      std::string waiting = ReserveFileName(folder, "vxn");
      if (waiting.empty()) return LastErrorOr(ERROR_CANNOT_MAKE);
      ::DeleteFileA(waiting.c_str());
      DWORD rc = WriteNewFile(waiting, data, size);
      if (rc != ERROR_SUCCESS) return rc;
      std::string line = ShortPath(target) + "=" + ShortPath(waiting);
      rc = AddWininitLine(line);
      if (rc != ERROR_SUCCESS) {
        ::DeleteFileA(waiting.c_str());
        return rc;
      }
      placed.waiting = waiting;
      placed.wininitLine = line;
      placed.restartNeeded = true;
      return ERROR_SUCCESS;
    }
    // The NT family renames a file in use as well; the kept copy's name stays free until the
    // rename because the reserved empty file is removed just before it.
    placed.keptInUse = IsFileInUse(target);
    std::string kept = ReserveFileName(folder, "vxo");
    if (kept.empty()) return LastErrorOr(ERROR_CANNOT_MAKE);
    ::DeleteFileA(kept.c_str());
    if (!::MoveFileA(target.c_str(), kept.c_str())) return LastErrorOr(ERROR_ACCESS_DENIED);
    placed.kept = kept;
  }
  DWORD rc = WriteNewFile(target, data, size);
  if (rc != ERROR_SUCCESS) {
    if (!placed.kept.empty()) ::MoveFileA(placed.kept.c_str(), target.c_str());
    placed.kept.clear();
    return rc;
  }
  return ERROR_SUCCESS;
}

void UndoPlaceFile(PlacedFile& placed) {
  if (!placed.waiting.empty()) {
    RemoveWininitLine(placed.wininitLine);
    ::DeleteFileA(placed.waiting.c_str());
  } else {
    ::DeleteFileA(placed.target.c_str());
    if (!placed.kept.empty()) ::MoveFileA(placed.kept.c_str(), placed.target.c_str());
  }
  placed = PlacedFile();
}

void CommitPlaceFile(PlacedFile& placed) {
  if (placed.kept.empty()) return;
  // A copy still loaded somewhere is deleted at the restart that ends its users.
  if ((placed.keptInUse || !::DeleteFileA(placed.kept.c_str())) && DeleteAtRestart(placed.kept) == ERROR_SUCCESS)
    placed.restartNeeded = true;
  placed.kept.clear();
}

}  // namespace vexbane::win
