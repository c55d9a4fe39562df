// ChangeWindowMessageFilter through GetProcAddress: user32 of the floor does not export it.
#include "win/message_filter.h"

namespace vexbane::win {

size_t AllowMessagesFromLowerIntegrity(const UINT* messages, size_t count) noexcept {
  using ChangeFilterFn = BOOL(WINAPI*)(UINT, DWORD);
  constexpr DWORD kMsgFltAdd = 1;  // MSGFLT_ADD
  // user32 is loaded in every program that has windows; no search path is involved.
  HMODULE user32 = ::GetModuleHandleA("user32.dll");
  auto change = user32 ? reinterpret_cast<ChangeFilterFn>(
                             reinterpret_cast<void*>(::GetProcAddress(user32, "ChangeWindowMessageFilter")))
                       : nullptr;
  if (!change) return 0;
  size_t allowed = 0;
  for (size_t i = 0; i < count; ++i)
    if (change(messages[i], kMsgFltAdd)) ++allowed;
  return allowed;
}

}  // namespace vexbane::win
