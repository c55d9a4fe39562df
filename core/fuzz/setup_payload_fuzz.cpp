// Feeds arbitrary bytes to the setup payload reader three ways: as a setup file; as a payload whose
// header, table and stream come from the input but whose CRCs are made right (so the limits, the
// table and the decoder are reached, not only the checks); and as a raw LZMA stream.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "core/bcj_x86.h"
#include "core/crc32.h"
#include "core/lzma_decoder.h"
#include "core/setup_payload.h"

namespace {

using vexbane::PayloadFile;
using vexbane::PayloadStatus;

void Put32(std::vector<unsigned char>& b, uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<unsigned char>(v >> (8 * i)));
}

void CheckRead(const unsigned char* file, size_t size) {
  std::vector<PayloadFile> files;
  size_t programPart = 0;
  const PayloadStatus status = vexbane::ReadSetupPayload(file, size, files, programPart);
  if (status != PayloadStatus::Ok) {
    if (!files.empty() || programPart != 0) __builtin_trap();
    return;
  }
  if (files.empty() || programPart >= size) __builtin_trap();
  for (const PayloadFile& f : files)
    if (!vexbane::IsPayloadFileName(f.name)) __builtin_trap();
}

// Input: file count, properties, filter, unpacked size (3 bytes), table length, then the table
// and the stream.
void CheckSealed(const uint8_t* data, size_t size) {
  if (size < 7) return;
  const size_t tableSize = data[6] < size - 7 ? data[6] : size - 7;
  const uint8_t* table = data + 7;
  const uint8_t* stream = table + tableSize;
  const size_t streamSize = size - 7 - tableSize;
  std::vector<unsigned char> file = {'M', 'Z'};
  const size_t start = file.size();
  const char magic[] = "VxbPack\x1a";
  file.insert(file.end(), magic, magic + 8);
  const uint32_t payloadSize = static_cast<uint32_t>(52 + tableSize + streamSize + 20);
  Put32(file, 1);
  Put32(file, payloadSize);
  Put32(file, data[0] % 8);
  Put32(file, static_cast<uint32_t>(tableSize));
  Put32(file, static_cast<uint32_t>(streamSize));
  Put32(file, data[3] | data[4] << 8 | (data[5] & 3) << 16);
  Put32(file, 1u << 16);
  file.push_back(data[1]);
  file.push_back(data[2] & 1);
  file.push_back(0);
  file.push_back(0);
  Put32(file, vexbane::Crc32(table, tableSize));
  Put32(file, vexbane::Crc32(stream, streamSize));
  const uint32_t headerCrc = vexbane::Crc32(file.data() + start, 48);
  Put32(file, headerCrc);
  file.insert(file.end(), table, table + tableSize);
  file.insert(file.end(), stream, stream + streamSize);
  const size_t trailer = file.size();
  const char tail[] = "VxbTail\x1a";
  file.insert(file.end(), tail, tail + 8);
  Put32(file, payloadSize);
  Put32(file, headerCrc);
  Put32(file, vexbane::Crc32(file.data() + trailer, 16));
  CheckRead(file.data(), file.size());
}

// Input: properties, output size (2 bytes), dictionary size (2 bytes, in KB), then the stream.
void CheckStream(const uint8_t* data, size_t size) {
  if (size < 5) return;
  const size_t outSize = data[1] | data[2] << 8;
  const uint32_t dictionary = (data[3] | data[4] << 8) * 1024u;
  // Exactly the size asked for, so that the sanitizer sees any write past it.
  std::vector<unsigned char> out(outSize);
  std::vector<unsigned char> in(data + 5, data + size);
  size_t used = 0;
  const vexbane::LzmaStatus status =
      vexbane::LzmaDecode(static_cast<unsigned char>(data[0] % 225), dictionary, in.data(), in.size(),
                          out.data(), out.size(), &used);
  if (status == vexbane::LzmaStatus::Ok && used > in.size()) __builtin_trap();
  vexbane::BcjX86Decode(out.data(), out.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<unsigned char> copy(data, data + size);
  CheckRead(copy.data(), copy.size());
  CheckSealed(data, size);
  CheckStream(data, size);
  return 0;
}
