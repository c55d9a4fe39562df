// The program folder as the deliverables find it: a folder that names itself, or none at all.
#pragma once
#include <string_view>

namespace vexbane {

// True for "C:\...", "C:" (a program at a drive's root, the folder without its backslash) and
// "\\server\share\...": a folder that names itself. An empty or relative folder, or one that
// starts at the current drive's root ("\Vexbane"), would put the program's files wherever the
// process happens to stand; nothing is read, created or started there.
bool IsAbsoluteFolder(std::string_view folder);

}  // namespace vexbane
