// The browser thread's mouse and message hooks: one set per thread, shared by the frame
// objects attached on it, removed with the last of them.
#pragma once
#include "ThreadState.h"

namespace vexbane::ext {

// Installs this thread's hooks unless they are already in place, and counts one more user.
// Runs at the end of an attach to a browser frame window, after the click time was set.
void InstallHooks(ThreadState& st) noexcept;

// One user of this thread's hooks is gone (quit or detach); the last one removes them.
void ReleaseHooks(ThreadState& st) noexcept;

// True while any thread of the process still has a hook of this module installed.
bool AnyHooksInstalled() noexcept;

}  // namespace vexbane::ext
