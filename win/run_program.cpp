// Starting another program and waiting for it.
#include "win/run_program.h"

#include <vector>

#include "win/unique.h"

namespace vexbane::win {

DWORD RunAndWait(const std::string& commandLine, DWORD& exitCode) noexcept {
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  std::vector<char> line(commandLine.begin(), commandLine.end());
  line.push_back('\0');
  if (!::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
    return ::GetLastError();
  UniqueHandle thread(process.hThread);
  UniqueHandle program(process.hProcess);
  HANDLE waitFor = program.get();
  while (::MsgWaitForMultipleObjects(1, &waitFor, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0) {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageA(&msg);
    }
  }
  DWORD code = 0;
  if (!::GetExitCodeProcess(program.get(), &code)) return ::GetLastError();
  exitCode = code;
  return ERROR_SUCCESS;
}

std::string SystemFile(const char* file) {
  char folder[MAX_PATH] = {};
  UINT length = ::GetSystemDirectoryA(folder, MAX_PATH);
  std::string path(folder, length < MAX_PATH ? length : 0);
  if (!path.empty() && path.back() != '\\') path += '\\';
  return path + file;
}

}  // namespace vexbane::win
