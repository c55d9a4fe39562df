// CRC-32 as zlib, PNG and ZIP compute it (IEEE polynomial, reflected), continued piece by piece.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vexbane {

// The CRC of `size` bytes at `data`, continuing from `crc` (0 to start): Crc32(b, n, Crc32(a, m))
// equals the CRC of a followed by b.
uint32_t Crc32(const unsigned char* data, size_t size, uint32_t crc = 0);

}  // namespace vexbane
