// The tray program's module variables.
#include "ModTray.h"

#include "core/program_folder.h"

namespace vexbane::tray {

namespace {

class SystemClock final : public blocks::Clock {
 public:
  blocks::LocalDate Today() override {
    SYSTEMTIME now = {};
    ::GetLocalTime(&now);
    return {now.wYear, now.wMonth, now.wDay};
  }
};

}  // namespace

blocks::Clock& LocalClock() noexcept {
  static SystemClock clock;
  return clock;
}

ModTray& Module() noexcept {
  static ModTray module;
  return module;
}

std::optional<std::string> DataFilePath(const char* name) {
  const std::string& folder = Module().strAppPath;
  if (!IsAbsoluteFolder(folder)) return std::nullopt;
  return folder + "\\" + name;
}

}  // namespace vexbane::tray
