// How a stored value's text is taken from a read buffer.
#include "settings.h"

#include "text.h"

namespace vexbane::settings {

std::optional<std::string> TextFromValueBuffer(const char* buffer, uint32_t size, bool upperCase) {
  if (buffer == nullptr || size < 1) return std::nullopt;
  std::string text = Trim(std::string_view(buffer, size - 1));
  return upperCase ? ToUpper(text) : text;
}

std::optional<int32_t> DwordFromValueBuffer(uint32_t type, const unsigned char* data, uint32_t size) {
  if (type != kRegDwordType || data == nullptr || size != 4) return std::nullopt;
  const uint32_t value = static_cast<uint32_t>(data[0]) | static_cast<uint32_t>(data[1]) << 8 |
                         static_cast<uint32_t>(data[2]) << 16 | static_cast<uint32_t>(data[3]) << 24;
  return static_cast<int32_t>(value);
}

}  // namespace vexbane::settings
