// Reads the payload appended to a setup program (the layout is described in setup_payload.h).
#include "core/setup_payload.h"

#include <cstring>
#include <memory>
#include <new>

#include "core/bcj_x86.h"
#include "core/crc32.h"
#include "core/lzma_decoder.h"

namespace vexbane {
namespace {

// The magics are kept complemented so that the setup program's own bytes never hold them: a
// copy of the program alone (the uninstaller) must not look like a payload cut short.
constexpr unsigned char kHeaderMagicInverted[8] = {0xA9, 0x87, 0x9D, 0xAF, 0x9E, 0x9C, 0x94, 0xE5};
constexpr unsigned char kTrailerMagicInverted[8] = {0xA9, 0x87, 0x9D, 0xAB, 0x9E, 0x96, 0x93, 0xE5};
constexpr size_t kMagicSize = 8;
// Each entry is at least a length byte, one name byte, a size and a CRC.
constexpr size_t kEntryMinSize = 1 + 1 + 4 + 4;
constexpr size_t kTableMaxSize = kPayloadMaxFiles * (1 + kPayloadMaxName + 4 + 4);
// The smallest LZMA stream: its 0 byte and four code bytes.
constexpr size_t kStreamMinSize = 5;

bool HasMagic(const unsigned char* p, const unsigned char* inverted) {
  for (size_t i = 0; i < kMagicSize; ++i)
    if ((p[i] ^ 0xFF) != inverted[i]) return false;
  return true;
}

uint32_t Le32(const unsigned char* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
         static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

struct Header {
  uint32_t payloadSize;
  uint32_t fileCount;
  uint32_t tableSize;
  uint32_t packedSize;
  uint32_t unpackedSize;
  uint32_t dictionarySize;
  unsigned char properties;
  unsigned char filter;
  uint32_t tableCrc;
  uint32_t streamCrc;
  uint32_t headerCrc;
};

// A header whose magic and CRC are right (its fields are not yet judged).
bool ReadHeader(const unsigned char* p, Header& h) {
  if (!HasMagic(p, kHeaderMagicInverted)) return false;
  h.headerCrc = Le32(p + 48);
  if (Crc32(p, 48) != h.headerCrc) return false;
  if (Le32(p + 8) != kPayloadFormat) return false;
  h.payloadSize = Le32(p + 12);
  h.fileCount = Le32(p + 16);
  h.tableSize = Le32(p + 20);
  h.packedSize = Le32(p + 24);
  h.unpackedSize = Le32(p + 28);
  h.dictionarySize = Le32(p + 32);
  h.properties = p[36];
  h.filter = p[37];
  h.tableCrc = Le32(p + 40);
  h.streamCrc = Le32(p + 44);
  return p[38] == 0 && p[39] == 0;
}

// The limits a header must keep before anything is allocated or decoded.
bool HeaderWithinLimits(const Header& h) {
  if (h.fileCount == 0 || h.fileCount > kPayloadMaxFiles) return false;
  if (h.tableSize < h.fileCount * kEntryMinSize || h.tableSize > kTableMaxSize) return false;
  if (h.packedSize < kStreamMinSize || h.unpackedSize > kPayloadMaxUnpacked) return false;
  const uint64_t parts = uint64_t{kPayloadHeaderSize} + h.tableSize + h.packedSize +
                         kPayloadTrailerSize;
  if (parts != h.payloadSize) return false;
  const unsigned lc = h.properties % 9, lp = h.properties / 9 % 5, pb = h.properties / 45;
  if (h.properties >= 9 * 5 * 5 || lc + lp > 4 || pb > 4) return false;
  return h.filter == kPayloadFilterNone || h.filter == kPayloadFilterX86;
}

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameNameIgnoringCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  return true;
}

// CON, PRN, AUX, NUL, COM1-9 and LPT1-9 name devices whatever the extension.
bool IsDeviceName(const std::string& name) {
  std::string stem = name.substr(0, name.find('.'));
  for (char& c : stem) c = AsciiLower(c);
  if (stem == "con" || stem == "prn" || stem == "aux" || stem == "nul") return true;
  return stem.size() == 4 && (stem.compare(0, 3, "com") == 0 || stem.compare(0, 3, "lpt") == 0) &&
         stem[3] >= '1' && stem[3] <= '9';
}

struct Entry {
  std::string name;
  uint32_t size;
  uint32_t crc;
};

bool ReadTable(const unsigned char* p, const Header& h, std::vector<Entry>& entries) {
  const unsigned char* const end = p + h.tableSize;
  uint64_t total = 0;
  for (uint32_t n = 0; n < h.fileCount; ++n) {
    if (end - p < 1) return false;
    const size_t nameLength = *p++;
    if (nameLength == 0 || nameLength > kPayloadMaxName || static_cast<size_t>(end - p) < nameLength + 8)
      return false;
    Entry e;
    e.name.assign(reinterpret_cast<const char*>(p), nameLength);
    p += nameLength;
    e.size = Le32(p);
    e.crc = Le32(p + 4);
    p += 8;
    if (!IsPayloadFileName(e.name)) return false;
    for (const Entry& other : entries)
      if (SameNameIgnoringCase(other.name, e.name)) return false;
    total += e.size;
    if (total > h.unpackedSize) return false;
    entries.push_back(std::move(e));
  }
  return p == end && total == h.unpackedSize;
}

// Decodes and checks everything from a header that the trailer vouches for.
PayloadStatus ReadFrom(const unsigned char* file, size_t start, const Header& h,
                       std::vector<PayloadFile>& files) {
  if (!HeaderWithinLimits(h)) return PayloadStatus::Damaged;
  const unsigned char* const table = file + start + kPayloadHeaderSize;
  const unsigned char* const stream = table + h.tableSize;
  if (Crc32(table, h.tableSize) != h.tableCrc) return PayloadStatus::Damaged;
  if (Crc32(stream, h.packedSize) != h.streamCrc) return PayloadStatus::Damaged;

  std::vector<Entry> entries;
  entries.reserve(h.fileCount);
  if (!ReadTable(table, h, entries)) return PayloadStatus::Damaged;

  // The two allocations of the files' whole size are asked for without throwing: memory that
  // cannot be had reads as Damaged also where nothing may throw (the shipped setup).
  std::unique_ptr<unsigned char[]> unpacked(new (std::nothrow) unsigned char[h.unpackedSize]);
  if (!unpacked) return PayloadStatus::Damaged;
  size_t used = 0;
  if (LzmaDecode(h.properties, h.dictionarySize, stream, h.packedSize, unpacked.get(),
                 h.unpackedSize, &used) != LzmaStatus::Ok ||
      used != h.packedSize)
    return PayloadStatus::Damaged;
  if (h.filter == kPayloadFilterX86) BcjX86Decode(unpacked.get(), h.unpackedSize);
#if !defined(__cpp_exceptions)
  // The copies below take as much again: without exceptions a failure there would end the
  // program, so the room is tried first.
  if (!std::unique_ptr<unsigned char[]>(new (std::nothrow) unsigned char[h.unpackedSize]))
    return PayloadStatus::Damaged;
#endif

  std::vector<PayloadFile> out(entries.size());
  size_t offset = 0;
  for (size_t i = 0; i < entries.size(); ++i) {
    const unsigned char* data = unpacked.get() + offset;
    if (Crc32(data, entries[i].size) != entries[i].crc) return PayloadStatus::Damaged;
    out[i].name = std::move(entries[i].name);
    out[i].data.assign(data, data + entries[i].size);
    offset += entries[i].size;
  }
  files.swap(out);
  return PayloadStatus::Ok;
}

// With no usable trailer: a good header whose payload runs past the end means the file was cut
// short; one that fits means the trailer itself was damaged.
PayloadStatus JudgeWithoutTrailer(const unsigned char* file, size_t size) {
  for (size_t at = size >= kMagicSize ? size - kMagicSize + 1 : 0; at-- > 0;) {
    if (!HasMagic(file + at, kHeaderMagicInverted)) continue;
    if (size - at < kPayloadHeaderSize) return PayloadStatus::Truncated;
    Header h;
    if (!ReadHeader(file + at, h)) continue;
    return h.payloadSize > size - at ? PayloadStatus::Truncated : PayloadStatus::Damaged;
  }
  return PayloadStatus::NotFound;
}

}  // namespace

bool IsPayloadFileName(const std::string& name) {
  if (name.empty() || name.size() > kPayloadMaxName) return false;
  for (char c : name) {
    if (c < 0x20 || c > 0x7E || std::strchr("\\/:*?\"<>|", c) != nullptr) return false;
  }
  // Windows drops trailing dots and spaces, so "a." would land on "a"; ".." climbs out.
  if (name.back() == '.' || name.back() == ' ' || name.front() == ' ') return false;
  if (name.find("..") != std::string::npos) return false;
  return !IsDeviceName(name);
}

PayloadStatus ReadSetupPayload(const unsigned char* file, size_t size,
                               std::vector<PayloadFile>& files, size_t& programPartSize) {
  files.clear();
  programPartSize = 0;
  if (file == nullptr) return PayloadStatus::NotFound;
  if (size < kPayloadTrailerSize || !HasMagic(file + size - kPayloadTrailerSize, kTrailerMagicInverted))
    return JudgeWithoutTrailer(file, size);

  const unsigned char* const trailer = file + size - kPayloadTrailerSize;
  if (Crc32(trailer, 16) != Le32(trailer + 16)) return PayloadStatus::Damaged;
  const uint32_t payloadSize = Le32(trailer + 8);
  if (payloadSize < kPayloadHeaderSize + kPayloadTrailerSize || payloadSize > size)
    return PayloadStatus::Damaged;
  const size_t start = size - payloadSize;
  Header h;
  if (!ReadHeader(file + start, h) || h.payloadSize != payloadSize ||
      h.headerCrc != Le32(trailer + 12))
    return PayloadStatus::Damaged;
  PayloadStatus status;
#if defined(__cpp_exceptions)
  try {
    status = ReadFrom(file, start, h, files);
  } catch (const std::bad_alloc&) {
    // Sizes are bounded by the limits above; memory that still cannot be had is reported as a
    // file that cannot be used rather than thrown at the caller.
    status = PayloadStatus::Damaged;
  }
#else
  // Built without exceptions (the shipped setup), a failed allocation ends the program: the
  // large ones are asked for without throwing in ReadFrom and read as Damaged there.
  status = ReadFrom(file, start, h, files);
#endif
  if (status != PayloadStatus::Ok) {
    files.clear();
    return status;
  }
  programPartSize = start;
  return PayloadStatus::Ok;
}

}  // namespace vexbane
