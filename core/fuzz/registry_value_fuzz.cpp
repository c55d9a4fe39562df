// Feeds arbitrary registry read results (type, reported size, bytes) to the value-buffer rules.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "core/settings.h"

using namespace vexbane::settings;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const uint32_t type = data[0] % 12;  // the registry's types REG_NONE to REG_QWORD
  const uint8_t flags = data[1];
  // The buffer holds exactly the bytes the registry reported, so a sanitizer sees any read past them.
  std::vector<char> buffer(data + 2, data + size);
  const uint32_t reported = static_cast<uint32_t>(buffer.size());
  const char* bytes = buffer.empty() ? nullptr : buffer.data();

  std::optional<std::string> text = TextFromValueBuffer(bytes, reported, (flags & 1) != 0);
  if (reported == 0 && text) __builtin_trap();
  if (text) {
    if (text->size() + 1 > reported) __builtin_trap();
    if (!text->empty() && (text->front() == ' ' || text->back() == ' ')) __builtin_trap();
    if ((flags & 1) != 0) {
      for (char c : *text) {
        if (c >= 'a' && c <= 'z') __builtin_trap();
      }
    }
  }

  std::optional<int32_t> number =
      DwordFromValueBuffer(type, reinterpret_cast<const unsigned char*>(bytes), reported);
  if (number.has_value() != (type == kRegDwordType && reported == 4)) __builtin_trap();
  if (number) {
    uint32_t raw = 0;
    std::memcpy(&raw, bytes, 4);  // the little-endian machines the product runs on
    if (static_cast<uint32_t>(*number) != raw) __builtin_trap();
  }
  return 0;
}
