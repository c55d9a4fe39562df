// A folder's change notification: whether anything in it may have been written since it was armed.
#pragma once
#include <windows.h>

#include <string>

#include "win/unique.h"

namespace vexbane::win {

// Watches one folder (not its subfolders) for files created, removed, renamed, resized or
// written. Every system of the floor has the calls; a folder where notifications cannot be had
// (some network shares) simply never counts as quiet.
class FolderWatch {
 public:
  // Watches the folder that holds `path` from now on: a change made after this call makes the
  // watch not quiet until the next Arm. Changes before it are forgotten.
  void Arm(const std::string& path) noexcept;
  // True when the watch is armed and nothing changed in the folder since.
  bool Quiet() const noexcept;

 private:
  std::string m_folder;
  UniqueChange m_change;
};

}  // namespace vexbane::win
