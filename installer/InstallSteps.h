// The install as a list of small steps, each with its undo (core/setup_steps.h runs them).
#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "core/setup_payload.h"
#include "core/setup_steps.h"

namespace vexbane::setup {

struct InstallChoice {
  std::string folder;  // the program folder, full path without a trailing backslash
  int autoClean = 1;   // "AutoClean": 1 cleans the cookies when the last browser window closes
};

// The steps in order: end the tray program, make the folder, put each carried file and the
// uninstaller (the setup program's own bytes, `program`) in place, create the empty lists,
// the settings, the two COM registrations, the browser helper's key, the Add/Remove Programs
// entry, the Start-menu folder. `files` and `program` must outlive the steps.
SetupSteps MakeInstallSteps(const InstallChoice& choice, const std::vector<PayloadFile>& files,
                            const unsigned char* program, size_t programSize);

}  // namespace vexbane::setup
