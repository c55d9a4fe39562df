// How a stored value's text is taken from a read buffer.
#include "settings.h"

#include "text.h"

namespace vexbane::settings {

std::optional<std::string> TextFromValueBuffer(const char* buffer, uint32_t size, bool upperCase) {
  if (buffer == nullptr || size < 1) return std::nullopt;
  std::string text = Trim(std::string_view(buffer, size - 1));
  return upperCase ? ToUpper(text) : text;
}

}  // namespace vexbane::settings
