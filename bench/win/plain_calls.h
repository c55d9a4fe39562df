// The attach's work done plainly (the system calls the product makes and nothing else), shared
// by the load rows' step breakdown and the plain helper, so both floors measure the same calls.
#pragma once
#include <windows.h>

#include <cstdlib>
#include <string>

namespace vexbane::bench::plain {

inline constexpr char kKey[] = "Software\\Halvern\\Vexbane";

// The product key's text value `name`; "1" when it cannot be read, as the product defaults.
inline std::string ReadValue(const char* name) {
  HKEY key = nullptr;
  if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return "1";
  char buffer[255];
  DWORD size = sizeof buffer, type = 0;
  LONG rc = ::RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
  ::RegCloseKey(key);
  if (rc != ERROR_SUCCESS || size == 0) return "1";
  return std::string(buffer, size - 1);
}

inline void WriteValue(const char* name, const std::string& text) {
  HKEY key = nullptr;
  if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
  ::RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()), static_cast<DWORD>(text.size() + 1));
  ::RegCloseKey(key);
}

// VexbaneTray.exe of `folder` started minimized, its handles closed at once.
inline void StartTray(const std::string& folder) {
  std::string program = folder + "\\VexbaneTray.exe";
  std::string commandLine = "\"" + program + "\"";
  STARTUPINFOA si = {sizeof si};
  si.dwFlags = STARTF_USESHOWWINDOW;
  si.wShowWindow = SW_SHOWMINIMIZED;
  PROCESS_INFORMATION pi = {};
  if (::CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si,
                       &pi)) {
    ::CloseHandle(pi.hProcess);
    ::CloseHandle(pi.hThread);
  }
}

// The open-window count read, added to and written under the count's mutex; the new count.
inline int CountAttach() {
  HANDLE mutex = ::CreateMutexA(nullptr, FALSE, "VexbaneCountIE");
  if (mutex) ::WaitForSingleObject(mutex, 2000);
  const int count = std::atoi(ReadValue("CountIE").c_str()) + 1;
  WriteValue("CountIE", std::to_string(count));
  if (mutex) {
    ::ReleaseMutex(mutex);
    ::CloseHandle(mutex);
  }
  return count;
}

}  // namespace vexbane::bench::plain
