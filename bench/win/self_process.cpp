// The benchmark program started again in a process of its own, and the roles it plays there.
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "bench_table.h"

namespace vexbane::bench {

int ForeignWindowsRole(int count);  // scan_bench.cpp
int FirstWindowRole(const char* helper);  // load_bench.cpp

int RunRole(int argc, char** argv) {
  if (argc >= 3 && std::strcmp(argv[1], "--foreign-windows") == 0) return ForeignWindowsRole(std::atoi(argv[2]));
  if (argc >= 3 && std::strcmp(argv[1], "--first-window") == 0) return FirstWindowRole(argv[2]);
  if (argc >= 3 && std::strcmp(argv[1], "--first-steps") == 0)
    return FirstWindowRole((std::string("steps-") + argv[2]).c_str());
  return -1;
}

int RunSelf(const std::string& args, std::string* output) {
  char self[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string commandLine = "\"" + std::string(self) + "\" " + args;
  SECURITY_ATTRIBUTES sa = {sizeof sa, nullptr, TRUE};
  HANDLE readEnd = nullptr, writeEnd = nullptr;
  if (output && !::CreatePipe(&readEnd, &writeEnd, &sa, 0)) return -1;
  if (readEnd) ::SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOA si = {sizeof si};
  if (writeEnd) {
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = writeEnd;
    si.hStdError = ::GetStdHandle(STD_ERROR_HANDLE);
    si.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
  }
  PROCESS_INFORMATION pi = {};
  BOOL started = ::CreateProcessA(self, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi);
  if (writeEnd) ::CloseHandle(writeEnd);
  if (!started) {
    if (readEnd) ::CloseHandle(readEnd);
    return -1;
  }
  if (readEnd) {
    char buffer[4096];
    DWORD got = 0;
    while (::ReadFile(readEnd, buffer, sizeof buffer, &got, nullptr) && got > 0) output->append(buffer, got);
    ::CloseHandle(readEnd);
  }
  ::WaitForSingleObject(pi.hProcess, INFINITE);
  DWORD code = 0;
  ::GetExitCodeProcess(pi.hProcess, &code);
  ::CloseHandle(pi.hProcess);
  ::CloseHandle(pi.hThread);
  return static_cast<int>(code);
}

}  // namespace vexbane::bench
