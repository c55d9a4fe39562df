// The files a setup program carries, appended to its own file, and the reader that checks them.
//
// Layout (all numbers little-endian, appended after the setup program's own bytes):
//
//   program part     any length: the setup program as linked (an uninstaller copy is made of it)
//   header           52 bytes
//      0  8  magic "VxbPack" 0x1A
//      8  4  format, 1
//     12  4  payload size: bytes from the header's first byte to the trailer's last
//     16  4  file count, 1..kPayloadMaxFiles
//     20  4  table size: bytes of the file table
//     24  4  packed size: bytes of the compressed stream
//     28  4  unpacked size: the files' sizes added up, <= kPayloadMaxUnpacked
//     32  4  LZMA dictionary size
//     36  1  LZMA properties byte ((pb * 5 + lp) * 9 + lc), lc + lp <= 4, pb <= 4
//     37  1  filter before LZMA: 1 = x86 BCJ (start offset 0), 0 = none
//     38  2  zero
//     40  4  CRC-32 of the file table
//     44  4  CRC-32 of the compressed stream
//     48  4  CRC-32 of header bytes 0..47
//   file table       per file, in packed order:
//      1 byte name length (1..kPayloadMaxName), the name (printable ASCII, no \ / : * ? " < > |,
//      not "." or "..", no ".." anywhere, unique ignoring ASCII case), 4 bytes size,
//      4 bytes CRC-32 of the file's bytes
//   compressed stream  raw LZMA1 (no header; an end marker may follow the last byte) of all files'
//      bytes one after the other, passed through the x86 BCJ encoder first when the filter says so
//   trailer          20 bytes, the file's last
//      0  8  magic "VxbTail" 0x1A
//      8  4  payload size (as in the header)
//     12  4  CRC-32 of the header (its bytes 48..51), binding the trailer to its header
//     16  4  CRC-32 of trailer bytes 0..15
//
// The reader starts from the trailer, so the program part may be any length. When the trailer is
// missing or unreadable it looks for a header with a good CRC, so that a download cut short is told
// apart from a plain program: a header whose payload runs past the end of the file means Truncated
// (a file cut within the header's first 8 bytes, its magic, cannot be told from a plain program and
// reads as NotFound; a file cut anywhere later reads as Truncated).
// Every count, size and name is checked against the limits before anything is allocated or
// decoded: a damaged or crafted file is refused, never obeyed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vexbane {

constexpr size_t kPayloadHeaderSize = 52;
constexpr size_t kPayloadTrailerSize = 20;
constexpr uint32_t kPayloadFormat = 1;
constexpr size_t kPayloadMaxFiles = 64;
constexpr size_t kPayloadMaxName = 64;
constexpr uint32_t kPayloadMaxUnpacked = 64u * 1024 * 1024;
constexpr unsigned char kPayloadFilterNone = 0;
constexpr unsigned char kPayloadFilterX86 = 1;

// The files a setup program carries, appended to its own file.
struct PayloadFile {
  std::string name;
  std::vector<unsigned char> data;
};

enum class PayloadStatus { Ok, NotFound, Truncated, Damaged };

// `file`/`size`: the whole setup file as read from disk. On Ok: `files` holds every file in the
// packed order, each checked by its CRC-32, and `programPartSize` is the length of the setup
// program before its payload (the bytes an uninstaller copy is made of). NotFound: no payload
// (e.g. the uninstaller copy, or a plain program); Truncated: the file ends before the payload
// does; Damaged: any check failed. On anything but Ok, `files` is left empty (and
// `programPartSize` 0). A payload too large for the memory at hand reads as Damaged: nothing throws.
PayloadStatus ReadSetupPayload(const unsigned char* file, size_t size,
                               std::vector<PayloadFile>& files, size_t& programPartSize);

// Whether `name` may be carried and written: see the file table's rules above.
bool IsPayloadFileName(const std::string& name);

}  // namespace vexbane
