// The cleaning itself: the current user's cookie folder, the keep list beside the component.
#pragma once
#include <string>

namespace vexbane::cookiecleaner {

// The keep list's file name in the program folder.
inline constexpr char kKeepListFileName[] = "IECookieURL.dat";

// Deletes the cookie files of the folder named by the current user's shell folder "Cookies",
// sparing the index files and the owners that "IECookieURL.dat" in `programFolder` names.
// Each step's failure is handled where it happens: no folder, no cleaning; an unreadable keep
// list, no cleaning; a file that will not go is left and the next one tried.
void CleanCookieFolder(const std::string& programFolder) noexcept;

}  // namespace vexbane::cookiecleaner
