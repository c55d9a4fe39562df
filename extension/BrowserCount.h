// The count of browser windows on the desktop, taken from the shell's window collection.
#pragma once
#include <cstdint>
#include <optional>

namespace vexbane::ext {

// Windows of the collection whose program counts as the browser's; no value when the
// collection cannot be created or will not tell its size.
std::optional<int16_t> CountListedBrowsers() noexcept;

}  // namespace vexbane::ext
