// The uninstaller's module: Main and its two steps.
#pragma once

namespace vexbane::Uninstall {

// CloseBrowsers, then RestoreMessenger. COM must be initialised on the calling thread.
void Main() noexcept;
// Asks the shell's browser windows to quit and warns once if a browser frame stays open.
void CloseBrowsers() noexcept;
// Sets the Messenger service back to automatic start; nothing happens when its key is missing.
void RestoreMessenger() noexcept;

}  // namespace vexbane::Uninstall
