// Another program that holds the data files open without sharing them for a while, as a virus
// scanner or a backup tool may: the fault suite's second process.
#include <windows.h>

#include <cstdlib>
#include <vector>

// fault_holder MS EVENT PATH...: opens every PATH with no sharing at all, signals the named
// event, holds them for MS milliseconds and lets go. Exit code 1 when a file would not open.
int main(int argc, char** argv) {
  if (argc < 4) return 2;
  const DWORD ms = std::strtoul(argv[1], nullptr, 10);
  std::vector<HANDLE> held;
  for (int i = 3; i < argc; ++i) {
    HANDLE file = ::CreateFileA(argv[i], GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    held.push_back(file);
  }
  if (HANDLE ready = ::OpenEventA(EVENT_MODIFY_STATE, FALSE, argv[2])) {
    ::SetEvent(ready);
    ::CloseHandle(ready);
  }
  ::Sleep(ms);
  for (HANDLE file : held) ::CloseHandle(file);
  return 0;
}
