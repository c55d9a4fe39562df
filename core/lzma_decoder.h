// Decoder for raw LZMA1 streams (no .lzma header) whose unpacked size is known beforehand.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vexbane {

enum class LzmaStatus {
  Ok,
  BadProperties,  // lc > 8, lp > 4 or pb > 4
  NoMemory,       // the probability table could not be allocated
  InputEnds,      // the stream ends before `outSize` bytes were decoded
  Damaged,        // anything else the format does not allow (see LzmaDecode)
};

// The probabilities the decoder needs for `properties`, in bytes (its only allocation).
size_t LzmaProbabilityTableBytes(unsigned char properties);

// Decodes exactly `outSize` bytes into `out` from the stream at `in` (`inSize` bytes), whose
// properties byte is ((pb * 5 + lp) * 9 + lc) and dictionary size `dictionarySize` (below 4 KB
// counts as 4 KB, as in every LZMA decoder). The whole output is the dictionary: no other buffer.
// An end marker may follow the last byte and is read when there is input left. Damaged: the
// stream's first byte is not 0, a match reaches before the first byte or farther than the
// dictionary, a match or literal runs past `outSize`, an end marker comes early, or input is left
// that is not an end marker. Never reads or writes outside `in`/`out`, whatever the input.
// `*inUsed` (optional) receives the bytes consumed on Ok.
LzmaStatus LzmaDecode(unsigned char properties, uint32_t dictionarySize, const unsigned char* in,
                      size_t inSize, unsigned char* out, size_t outSize, size_t* inUsed = nullptr);

}  // namespace vexbane
