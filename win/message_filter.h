// Letting chosen window messages in from processes of lower integrity (Vista and later).
#pragma once
#include <windows.h>

#include <cstddef>

namespace vexbane::win {

// Adds each message to this process's filter with ChangeWindowMessageFilter, loaded from the
// loaded user32 at run time: Vista's User Interface Privilege Isolation drops messages sent or
// posted from a process of lower integrity (Internet Explorer in Protected Mode) unless they are
// let in. Returns how many were let in: 0 before Vista, where user32 has no such call and no
// message is ever dropped.
size_t AllowMessagesFromLowerIntegrity(const UINT* messages, size_t count) noexcept;

}  // namespace vexbane::win
