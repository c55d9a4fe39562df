// Stands in for the tray program in the helper's tests: notes each start and its show state
// in "started.txt" beside itself, then ends. Started with "--hung-tray FILE" it is instead a
// tray that hangs: it shows the tray form and its "Block" button, writes the button's handle
// to FILE and then never takes a message until it is ended. Started with anything else on its
// command line (as the browser the tray starts for "Open"), it also writes that line to
// "args.txt" beside itself.
#include <windows.h>

#include <cstring>
#include <string>

namespace {

int HungTray(const std::string& file) {
  HWND form = ::CreateWindowExA(0, "STATIC", "Vexbane Tray Form", WS_POPUP, 0, 0, 100, 60, nullptr, nullptr,
                                nullptr, nullptr);
  HWND button = ::CreateWindowExA(0, "BUTTON", "Block", WS_CHILD, 0, 0, 60, 20, form, nullptr, nullptr, nullptr);
  if (!form || !button) return 1;
  const std::string line =
      std::to_string(static_cast<int32_t>(reinterpret_cast<intptr_t>(button))) + "\r\n";
  HANDLE f = ::CreateFileA(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return 1;
  DWORD written = 0;
  ::WriteFile(f, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  ::CloseHandle(f);
  ::Sleep(120000);
  return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
  const char kHung[] = "--hung-tray ";
  if (commandLine && std::strncmp(commandLine, kHung, sizeof kHung - 1) == 0) {
    std::string file = commandLine + sizeof kHung - 1;
    if (!file.empty() && file.front() == '"') file = file.substr(1, file.find('"', 1) - 1);
    return HungTray(file);
  }
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
  if (commandLine && *commandLine) {
    const std::string args = file.substr(0, file.find_last_of('\\')) + "\\args.txt";
    HANDLE a = ::CreateFileA(args.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (a == INVALID_HANDLE_VALUE) return 1;
    ::WriteFile(a, commandLine, static_cast<DWORD>(std::strlen(commandLine)), &written, nullptr);
    ::CloseHandle(a);
  }
  return 0;
}
