// Starting another program and waiting for it to end, answering this thread's messages meanwhile.
#pragma once
#include <windows.h>

#include <string>

namespace vexbane::win {

// Runs `commandLine` and waits for its end; this thread's windows keep answering while it runs.
// `exitCode` holds the program's exit code on success. Returns a Win32 error code (the start's).
DWORD RunAndWait(const std::string& commandLine, DWORD& exitCode) noexcept;

// The system folder's path followed by "\" and `file`.
std::string SystemFile(const char* file);

}  // namespace vexbane::win
