// CRC-32 with its 256-entry table computed by the compiler: nothing to build or write at run time.
#include "core/crc32.h"

namespace vexbane {
namespace {

constexpr uint32_t kPolynomial = 0xEDB88320u;

struct Crc32Table {
  uint32_t entry[256];
  constexpr Crc32Table() : entry() {
    for (uint32_t i = 0; i < 256; ++i) {
      uint32_t c = i;
      for (int bit = 0; bit < 8; ++bit) c = (c & 1) ? (c >> 1) ^ kPolynomial : c >> 1;
      entry[i] = c;
    }
  }
};

constexpr Crc32Table kTable;

}  // namespace

uint32_t Crc32(const unsigned char* data, size_t size, uint32_t crc) {
  crc = ~crc;
  for (size_t i = 0; i < size; ++i) crc = kTable.entry[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

}  // namespace vexbane
