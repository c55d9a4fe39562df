// The x86 branch converter's decoding direction (the BCJ filter xz applies before LZMA).
#pragma once

#include <cstddef>

namespace vexbane {

// Turns the absolute targets the encoder wrote into E8 (CALL) and E9 (JMP) operands back into
// the relative ones, in place, for a buffer that started at stream offset 0 and was filtered in
// one piece (the filter's last four bytes are never converted). Exactly the inverse of the x86
// filter of xz/liblzma with start offset 0.
void BcjX86Decode(unsigned char* data, size_t size);

}  // namespace vexbane
