// The helper's per-thread module state.
#include "ThreadState.h"

#include "core/text.h"

namespace vexbane::ext {

ThreadState& CurrentThreadState() noexcept {
  static thread_local ThreadState state;
  return state;
}

HWND HandleFromText(const std::string& text, HWND unchanged) noexcept {
  auto v = ToInt32(text);
  if (!v) return unchanged;
  // Window handles are 32-bit values on every Windows; sign-extend as the system does.
  return reinterpret_cast<HWND>(static_cast<intptr_t>(*v));
}

std::string HandleToText(HWND hwnd) {
  return std::to_string(static_cast<int32_t>(reinterpret_cast<intptr_t>(hwnd)));
}

}  // namespace vexbane::ext
