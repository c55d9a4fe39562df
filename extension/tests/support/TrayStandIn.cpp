// Stands in for the tray program in the helper's tests: notes each start and its show state
// in "started.txt" beside itself, then ends.
#include <windows.h>

#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  char path[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string file(path);
  file = file.substr(0, file.find_last_of('\\')) + "\\started.txt";
  STARTUPINFOA si = {sizeof(si)};
  ::GetStartupInfoA(&si);
  std::string line = std::to_string((si.dwFlags & STARTF_USESHOWWINDOW) ? si.wShowWindow : -1) + "\r\n";
  HANDLE f = ::CreateFileA(file.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                           0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return 1;
  DWORD written = 0;
  ::WriteFile(f, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  ::CloseHandle(f);
  return 0;
}
