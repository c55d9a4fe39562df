// What stands in the way of a data file, found out after a read or a save failed.
#pragma once
#include <windows.h>

#include <string>

#include "core/file_problem.h"

namespace vexbane::win {

// Looks at the file as it is now: a folder or a read-only file at the path, another program
// holding it (a share-everything open for the same access meets a sharing violation), this
// account's rights (the open is refused); failing those, the failed call's `error` decides.
// A held file often shows as ERROR_ACCESS_DENIED from a rename, hence the look.
FileProblem FileProblemOf(const std::string& path, DWORD error, bool writing) noexcept;

// The sentence for the notice: the file's name (without its folder) and the cause.
std::string FileProblemText(const std::string& path, DWORD error, bool writing) noexcept;

}  // namespace vexbane::win
