// The x86 branch converter, decoding direction: E8/E9 operands back from absolute to relative.
#include "core/bcj_x86.h"

#include <cstdint>

namespace vexbane {
namespace {

// An operand's top byte is 00 or FF when it is a plausible near target (within +-16 MB).
bool IsNearTopByte(unsigned b) { return b == 0x00 || b == 0xFF; }

// Indexed by the recent-opcode bits (which of the three bytes before this E8/E9 were E8/E9
// bytes that were left alone): whether the operand here may be converted at all, and which of
// its bytes to look at again when the previous opcode's operand overlaps this one.
constexpr bool kMayConvert[8] = {true, true, true, false, true, false, false, false};
constexpr unsigned kRecheckByte[8] = {0, 1, 2, 2, 3, 3, 3, 3};

}  // namespace

void BcjX86Decode(unsigned char* data, size_t size) {
  if (size < 5) return;
  // `recent`: bit n set when the E8/E9 n bytes back was skipped; bit 4 marks that its operand's
  // top byte looked near. The encoder keeps exactly this history, so both convert the same spots.
  uint32_t recent = 0;
  size_t lastOpcode = 0;
  bool seenOpcode = false;
  const size_t last = size - 5;
  size_t i = 0;
  while (i <= last) {
    const unsigned op = data[i];
    if (op != 0xE8 && op != 0xE9) {
      ++i;
      continue;
    }
    const size_t gap = seenOpcode ? i - lastOpcode : 6;
    seenOpcode = true;
    lastOpcode = i;
    if (gap > 5) {
      recent = 0;
    } else {
      for (size_t k = 0; k < gap; ++k) recent = (recent & 0x77) << 1;
    }
    unsigned top = data[i + 4];
    if (IsNearTopByte(top) && kMayConvert[(recent >> 1) & 7] && (recent >> 1) < 0x10) {
      uint32_t value = static_cast<uint32_t>(data[i + 1]) | static_cast<uint32_t>(data[i + 2]) << 8 |
                       static_cast<uint32_t>(data[i + 3]) << 16 | static_cast<uint32_t>(top) << 24;
      const uint32_t here = static_cast<uint32_t>(i + 5);
      uint32_t target;
      for (;;) {
        target = value - here;
        if (recent == 0) break;
        const unsigned shift = 24 - kRecheckByte[(recent >> 1) & 7] * 8;
        if (!IsNearTopByte((target >> shift) & 0xFF)) break;
        value = target ^ ((1u << shift << 8) - 1);
      }
      // The top byte carries only the sign: bit 24 decides 00 or FF.
      data[i + 4] = static_cast<unsigned char>(((target >> 24) & 1) ? 0xFF : 0x00);
      data[i + 3] = static_cast<unsigned char>(target >> 16);
      data[i + 2] = static_cast<unsigned char>(target >> 8);
      data[i + 1] = static_cast<unsigned char>(target);
      i += 5;
      recent = 0;
    } else {
      ++i;
      recent |= 1;
      if (IsNearTopByte(top)) recent |= 0x10;
    }
  }
}

}  // namespace vexbane
