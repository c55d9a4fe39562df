// Whole-file reads and atomic rewrites.
#include "win/file.h"

#include "win/unique.h"

namespace vexbane::win {
namespace {
constexpr int kReplaceAttempts = 25;
constexpr DWORD kReplaceRetryMs = 20;
}  // namespace

DWORD ReadWholeFile(const std::string& path, std::string& data) {
  UniqueFile file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return ::GetLastError();
  std::string out;
  char chunk[4096];
  for (;;) {
    DWORD got = 0;
    if (!::ReadFile(file.get(), chunk, sizeof chunk, &got, nullptr)) return ::GetLastError();
    if (got == 0) break;
    out.append(chunk, got);
  }
  data = std::move(out);
  return ERROR_SUCCESS;
}

DWORD CreateFileIfMissing(const std::string& path) {
  UniqueFile file(::CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file) return ERROR_SUCCESS;
  DWORD rc = ::GetLastError();
  return rc == ERROR_FILE_EXISTS ? ERROR_SUCCESS : rc;
}

DWORD ReplaceFileContents(const std::string& path, const std::string& data) {
  const std::string temp = path + ".new";
  {
    UniqueFile file(::CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return ::GetLastError();
    DWORD written = 0;
    BOOL ok = ::WriteFile(file.get(), data.data(), static_cast<DWORD>(data.size()), &written, nullptr);
    DWORD rc = ok && written == data.size() ? ERROR_SUCCESS : ::GetLastError();
    if (rc == ERROR_SUCCESS && !::FlushFileBuffers(file.get())) rc = ::GetLastError();
    if (rc != ERROR_SUCCESS || !ok) {
      file.reset();
      ::DeleteFileA(temp.c_str());
      return rc != ERROR_SUCCESS ? rc : ERROR_WRITE_FAULT;
    }
  }
  // A reader that has the old file open for a moment may make the replace fail with a sharing
  // or access error; readers hold it only for one read, so a few short retries get through.
  DWORD rc = ERROR_SUCCESS;
  for (int attempt = 0; attempt < kReplaceAttempts; ++attempt) {
    if (::MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
      return ERROR_SUCCESS;
    rc = ::GetLastError();
    if (rc != ERROR_ACCESS_DENIED && rc != ERROR_SHARING_VIOLATION) break;
    ::Sleep(kReplaceRetryMs);
  }
  ::DeleteFileA(temp.c_str());
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
