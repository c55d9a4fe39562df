// Telling why a data file could not be read or saved.
#include "win/file_problem.h"

#include "win/unique.h"
#include "win/version.h"

namespace vexbane::win {

FileProblem FileProblemOf(const std::string& path, DWORD error, bool writing) noexcept {
  const DWORD attributes = ::GetFileAttributesA(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) {
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return FileProblem::FolderInTheWay;
    if (writing && (attributes & FILE_ATTRIBUTE_READONLY)) return FileProblem::ReadOnly;
    const DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE | (IsWindows9x() ? 0 : FILE_SHARE_DELETE);
    UniqueFile probe(::CreateFileA(path.c_str(), writing ? GENERIC_READ | GENERIC_WRITE : GENERIC_READ, share,
                                   nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    const DWORD probeError = probe ? ERROR_SUCCESS : ::GetLastError();
    if (probeError == ERROR_SHARING_VIOLATION || probeError == ERROR_LOCK_VIOLATION)
      return FileProblem::HeldByAnotherProgram;
    if (probeError == ERROR_ACCESS_DENIED) return FileProblem::NoPermission;
  }
  switch (error) {
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      return FileProblem::HeldByAnotherProgram;
    case ERROR_ACCESS_DENIED:
      // The file itself lets this account in (or is not there): the folder refuses it.
      return FileProblem::NoPermission;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
      return FileProblem::Missing;
    default:
      return FileProblem::Other;
  }
}

std::string FileProblemText(const std::string& path, DWORD error, bool writing) noexcept {
  try {
    const size_t slash = path.find_last_of("\\/");
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    return FileProblemSentence(name, FileProblemOf(path, error, writing), writing, error);
  } catch (...) {
    return std::string();
  }
}

}  // namespace vexbane::win
