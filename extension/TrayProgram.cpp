// Starting the tray program.
#include "TrayProgram.h"

#include <windows.h>

#include <vector>

#include "core/settings.h"
#include "win/unique.h"

namespace vexbane::ext {

bool StartTrayProgram(const std::string& appPath) noexcept {
  try {
    const std::string program = appPath + "\\" + settings::kTrayProgramFile;
    const std::string quoted = "\"" + program + "\"";
    std::vector<char> commandLine(quoted.begin(), quoted.end());
    commandLine.push_back('\0');
    STARTUPINFOA si = {sizeof(si)};
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_SHOWMINIMIZED;
    PROCESS_INFORMATION pi = {};
    if (!::CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          appPath.c_str(), &si, &pi))
      return false;
    win::UniqueHandle process(pi.hProcess);
    win::UniqueHandle thread(pi.hThread);
    return true;
  } catch (...) {
    return false;
  }
}

}  // namespace vexbane::ext
