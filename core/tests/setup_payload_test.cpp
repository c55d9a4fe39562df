// The setup payload: packed by installer/pack_setup.py at build time, read back byte for byte, and
// refused whole when cut short, damaged or crafted past its limits; the LZMA decoder and x86 filter
// against streams liblzma wrote.
#include "core/setup_payload.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "core/bcj_x86.h"
#include "core/crc32.h"
#include "core/lzma_decoder.h"

namespace vexbane {
namespace {

using Bytes = std::vector<unsigned char>;

Bytes ReadAll(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  EXPECT_TRUE(f.good()) << path;
  return Bytes(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

std::vector<std::string> ListLines(const std::string& name) {
  std::ifstream f(std::string(VEXBANE_PAYLOAD_INPUTS) + "/" + name);
  std::vector<std::string> lines;
  for (std::string line; std::getline(f, line);)
    if (!line.empty()) lines.push_back(line);
  return lines;
}

std::string BaseName(const std::string& path) { return path.substr(path.find_last_of('/') + 1); }

uint32_t Le32(const Bytes& b, size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}
void PutLe32(Bytes& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<unsigned char>(v >> (8 * i));
}

PayloadStatus Read(const Bytes& file, std::vector<PayloadFile>& files, size_t& programPart) {
  return ReadSetupPayload(file.data(), file.size(), files, programPart);
}

PayloadStatus Read(const Bytes& file) {
  std::vector<PayloadFile> files;
  size_t programPart = 12345;
  const PayloadStatus status = Read(file, files, programPart);
  if (status != PayloadStatus::Ok) {
    EXPECT_TRUE(files.empty());
    EXPECT_EQ(programPart, 0u);
  }
  return status;
}

class SetupPayloadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_setup = ReadAll(std::string(VEXBANE_PAYLOAD_INPUTS) + "/setup.exe");
    const auto lines = ListLines("setup.list");
    ASSERT_GE(lines.size(), 2u);
    m_program = ReadAll(lines[0]);
    for (size_t i = 1; i < lines.size(); ++i) m_originals.push_back({BaseName(lines[i]), ReadAll(lines[i])});
    m_payload = m_program.size();
    m_table = m_payload + kPayloadHeaderSize;
    m_stream = m_table + Le32(m_setup, m_payload + 20);
    m_trailer = m_setup.size() - kPayloadTrailerSize;
  }

  // Writes the header's and trailer's CRCs again after a deliberate change, so that only the
  // reader's limits stand between the change and the files.
  void Reseal(Bytes& file, size_t payload) {
    const size_t table = payload + kPayloadHeaderSize;
    const uint32_t tableSize = Le32(file, payload + 20);
    PutLe32(file, payload + 40, Crc32(file.data() + table, tableSize));
    PutLe32(file, payload + 44, Crc32(file.data() + table + tableSize, Le32(file, payload + 24)));
    PutLe32(file, payload + 48, Crc32(file.data() + payload, 48));
    const size_t trailer = file.size() - kPayloadTrailerSize;
    PutLe32(file, trailer + 8, static_cast<uint32_t>(file.size() - payload));
    PutLe32(file, payload + 12, static_cast<uint32_t>(file.size() - payload));
    PutLe32(file, payload + 48, Crc32(file.data() + payload, 48));
    PutLe32(file, trailer + 12, Le32(file, payload + 48));
    PutLe32(file, trailer + 16, Crc32(file.data() + trailer, 16));
  }

  // The setup file with the first entry's name replaced (sizes and CRCs made right again).
  Bytes WithFirstName(const std::string& name) {
    const size_t oldLength = m_setup[m_table];
    Bytes file(m_setup.begin(), m_setup.begin() + m_table);
    file.push_back(static_cast<unsigned char>(name.size()));
    file.insert(file.end(), name.begin(), name.end());
    file.insert(file.end(), m_setup.begin() + m_table + 1 + oldLength, m_setup.end());
    PutLe32(file, m_payload + 20, static_cast<uint32_t>(Le32(m_setup, m_payload + 20) - oldLength + name.size()));
    Reseal(file, m_payload);
    return file;
  }

  Bytes m_setup, m_program;
  std::vector<PayloadFile> m_originals;
  size_t m_payload = 0, m_table = 0, m_stream = 0, m_trailer = 0;
};

TEST_F(SetupPayloadTest, GivesBackEveryFileByteForByteInPackedOrder) {
  std::vector<PayloadFile> files;
  size_t programPart = 0;
  ASSERT_EQ(Read(m_setup, files, programPart), PayloadStatus::Ok);
  EXPECT_EQ(programPart, m_program.size());
  EXPECT_TRUE(std::equal(m_program.begin(), m_program.end(), m_setup.begin()));
  ASSERT_EQ(files.size(), m_originals.size());
  for (size_t i = 0; i < files.size(); ++i) {
    EXPECT_EQ(files[i].name, m_originals[i].name);
    EXPECT_TRUE(files[i].data == m_originals[i].data) << files[i].name;
  }
}

TEST_F(SetupPayloadTest, ProgramPartAloneOrAPlainFileHasNoPayload) {
  EXPECT_EQ(Read(m_program), PayloadStatus::NotFound);
  EXPECT_EQ(Read(m_originals[0].data), PayloadStatus::NotFound);
  EXPECT_EQ(Read(Bytes()), PayloadStatus::NotFound);
  std::vector<PayloadFile> files;
  size_t programPart = 1;
  EXPECT_EQ(ReadSetupPayload(nullptr, 0, files, programPart), PayloadStatus::NotFound);
  // The reader's output is emptied even when the caller passed it filled.
  files.push_back({"stale", {1}});
  EXPECT_EQ(Read(m_program, files, programPart), PayloadStatus::NotFound);
  EXPECT_TRUE(files.empty());
}

TEST_F(SetupPayloadTest, ProgramPartMayChangeAndGrow) {
  Bytes file = m_setup;
  file[0] ^= 0xFF;
  file.insert(file.begin(), 333, 0x90);
  std::vector<PayloadFile> files;
  size_t programPart = 0;
  ASSERT_EQ(Read(file, files, programPart), PayloadStatus::Ok);
  EXPECT_EQ(programPart, m_program.size() + 333);
  EXPECT_EQ(files.size(), m_originals.size());
}

TEST_F(SetupPayloadTest, EveryCutIsRefused) {
  // A cut that leaves the header's magic says Truncated; one inside the program part or the
  // magic leaves a file that cannot be told from a plain program. Never Ok.
  for (size_t cut = 0; cut < m_setup.size(); ++cut) {
    std::vector<PayloadFile> files;
    size_t programPart = 0;
    const PayloadStatus status = ReadSetupPayload(m_setup.data(), cut, files, programPart);
    const PayloadStatus expected =
        cut >= m_payload + 8 ? PayloadStatus::Truncated : PayloadStatus::NotFound;
    if (status != expected) {
      ADD_FAILURE() << "cut at " << cut << " gave " << static_cast<int>(status);
      break;
    }
    ASSERT_TRUE(files.empty());
  }
}

TEST_F(SetupPayloadTest, FlippedBitsInHeaderTableStreamOrTrailerAreDamage) {
  std::vector<size_t> spots;
  for (size_t at = m_payload; at < m_stream + 16; ++at) spots.push_back(at);
  for (size_t at = m_stream + 16; at < m_trailer - 16; at += 101) spots.push_back(at);
  for (size_t at = m_trailer - 16; at < m_setup.size(); ++at) spots.push_back(at);
  for (size_t at : spots) {
    for (unsigned char bit : {0x01, 0x80}) {
      Bytes file = m_setup;
      file[at] ^= bit;
      ASSERT_EQ(Read(file), PayloadStatus::Damaged) << "byte " << at - m_payload << " of the payload";
    }
  }
}

TEST_F(SetupPayloadTest, TrailerThatPointsOutsideTheFileIsDamage) {
  for (uint32_t size : {0u, 71u, static_cast<uint32_t>(m_setup.size() + 1), 0xFFFFFFFFu}) {
    Bytes file = m_setup;
    PutLe32(file, m_trailer + 8, size);
    PutLe32(file, m_trailer + 16, Crc32(file.data() + m_trailer, 16));
    EXPECT_EQ(Read(file), PayloadStatus::Damaged) << size;
  }
  // Bytes after the trailer: the trailer is no longer last, and the header is found whole.
  Bytes file = m_setup;
  file.push_back(0);
  EXPECT_EQ(Read(file), PayloadStatus::Damaged);
}

TEST_F(SetupPayloadTest, SealedNamesThatCouldEscapeTheFolderAreRefused) {
  // The checks pass on these files: only the name rules stop them.
  EXPECT_EQ(Read(WithFirstName("Renamed.exe")), PayloadStatus::Ok);
  for (const char* name : {"..", "../x.dll", "..\\x.dll", "a/b", "c:x", "x.", "con", "LPT1.txt",
                           "tab\there", "same.BIN"}) {
    EXPECT_EQ(Read(WithFirstName(name)), PayloadStatus::Damaged) << name;
  }
  EXPECT_EQ(Read(WithFirstName(std::string(64, 'a'))), PayloadStatus::Ok);
}

TEST_F(SetupPayloadTest, SealedHeadersOutsideTheLimitsAreRefused) {
  struct Change {
    size_t offset;
    uint32_t value;
    bool byte;
  };
  const uint32_t count = Le32(m_setup, m_payload + 16);
  const uint32_t unpacked = Le32(m_setup, m_payload + 28);
  for (const Change& c : {Change{16, 0, false}, Change{16, 65, false}, Change{16, count - 1, false},
                          Change{16, count + 1, false}, Change{28, unpacked + 1, false},
                          Change{28, unpacked - 1, false}, Change{28, kPayloadMaxUnpacked + 1, false},
                          Change{8, 2, false}, Change{36, 9 * 5 * 5, true}, Change{36, 2 * 9 + 3, true}, Change{37, 0, true},
                          Change{36, 4 + 9, true}, Change{37, 2, true}, Change{38, 1, true}}) {
    Bytes file = m_setup;
    if (c.byte)
      file[m_payload + c.offset] = static_cast<unsigned char>(c.value);
    else
      PutLe32(file, m_payload + c.offset, c.value);
    Reseal(file, m_payload);
    EXPECT_EQ(Read(file), PayloadStatus::Damaged) << "offset " << c.offset << " value " << c.value;
  }
  // A file's own CRC is checked after decoding.
  Bytes file = m_setup;
  const size_t firstCrc = m_table + 1 + m_setup[m_table] + 4;
  PutLe32(file, firstCrc, Le32(file, firstCrc) ^ 1);
  Reseal(file, m_payload);
  EXPECT_EQ(Read(file), PayloadStatus::Damaged);
}

TEST(PayloadFileNameTest, AllowsPlainNamesOnly) {
  for (const char* name : {"VexbaneIEDLL.dll", "Block.wav", "a", "x y.txt", ".hidden", "com0", "console.exe"})
    EXPECT_TRUE(IsPayloadFileName(name)) << name;
  for (const char* name : {"", ".", "..", "a..b", "a/b", "a\\b", "c:", "a*", "a?", "\"a\"", "<a>", "a|b",
                           "a.", "a ", " a", "CON", "nul.txt", "Aux", "prn.dll", "COM1", "lpt9.x", "\x7f", "\xe9t\xe9"})
    EXPECT_FALSE(IsPayloadFileName(name)) << name;
  EXPECT_TRUE(IsPayloadFileName(std::string(64, 'n')));
  EXPECT_FALSE(IsPayloadFileName(std::string(65, 'n')));
}

struct StreamCase {
  std::string path;
  unsigned properties;
  uint32_t dictionary;
  std::string original;
  bool x86;
};

std::vector<StreamCase> StreamCases() {
  std::vector<StreamCase> cases;
  for (const std::string& line : ListLines("streams.list")) {
    std::istringstream in(line);
    StreamCase c;
    int x86 = 0;
    in >> c.path >> c.properties >> c.dictionary >> c.original >> x86;
    c.x86 = x86 != 0;
    cases.push_back(c);
  }
  return cases;
}

TEST(LzmaDecoderTest, DecodesStreamsOfEveryLiteralAndPositionSetting) {
  const auto cases = StreamCases();
  ASSERT_EQ(cases.size(), 6u);
  for (const StreamCase& c : cases) {
    SCOPED_TRACE(BaseName(c.path));
    const Bytes stream = ReadAll(c.path), original = ReadAll(c.original);
    Bytes out(original.size() + 64, 0xCC);
    size_t used = 0;
    ASSERT_EQ(LzmaDecode(static_cast<unsigned char>(c.properties), c.dictionary, stream.data(),
                         stream.size(), out.data(), original.size(), &used),
              LzmaStatus::Ok);
    EXPECT_EQ(used, stream.size());
    for (size_t i = original.size(); i < out.size(); ++i) ASSERT_EQ(out[i], 0xCC) << "written past the end";
    out.resize(original.size());
    if (c.x86) {
      // The filter changed these bytes; undoing it must give exactly what went in.
      EXPECT_FALSE(out == original);
      BcjX86Decode(out.data(), out.size());
    }
    EXPECT_TRUE(out == original);
  }
}

TEST(LzmaDecoderTest, RefusesWrongSizesCutsAndProperties) {
  const StreamCase c = StreamCases().at(0);
  const Bytes stream = ReadAll(c.path), original = ReadAll(c.original);
  const auto props = static_cast<unsigned char>(c.properties);
  Bytes out(original.size() + 1);
  // Asked for fewer bytes: what follows is not the end marker. Asked for more: the end marker
  // comes early.
  EXPECT_EQ(LzmaDecode(props, c.dictionary, stream.data(), stream.size(), out.data(), original.size() - 1),
            LzmaStatus::Damaged);
  EXPECT_EQ(LzmaDecode(props, c.dictionary, stream.data(), stream.size(), out.data(), original.size() + 1),
            LzmaStatus::Damaged);
  for (size_t cut : {size_t{0}, size_t{4}, size_t{5}, stream.size() / 2, stream.size() - 1}) {
    const LzmaStatus s = LzmaDecode(props, c.dictionary, stream.data(), cut, out.data(), original.size());
    EXPECT_TRUE(s == LzmaStatus::InputEnds || s == LzmaStatus::Damaged) << "cut at " << cut;
  }
  // A dictionary smaller than the distances used.
  EXPECT_EQ(LzmaDecode(props, 4096, stream.data(), stream.size(), out.data(), original.size()),
            LzmaStatus::Damaged);
  Bytes notZero = stream;
  notZero[0] = 1;
  EXPECT_EQ(LzmaDecode(props, c.dictionary, notZero.data(), notZero.size(), out.data(), original.size()),
            LzmaStatus::Damaged);
  EXPECT_EQ(LzmaDecode(225, c.dictionary, stream.data(), stream.size(), out.data(), original.size()),
            LzmaStatus::BadProperties);
  EXPECT_EQ(LzmaDecode(255, c.dictionary, stream.data(), stream.size(), out.data(), original.size()),
            LzmaStatus::BadProperties);
  // Each literal context bit doubles the literal coders (0x300 probabilities each).
  EXPECT_EQ(LzmaProbabilityTableBytes(3) - LzmaProbabilityTableBytes(0), 0x300u * 7 * 2);
  EXPECT_EQ(LzmaProbabilityTableBytes(9 + 3) - LzmaProbabilityTableBytes(3), 0x300u * 8 * 2);
  EXPECT_EQ(LzmaProbabilityTableBytes(225), 0u);
}

TEST(LzmaDecoderTest, DamagedStreamsStayInsideTheirBuffers) {
  const StreamCase c = StreamCases().at(1);
  const Bytes stream = ReadAll(c.path), original = ReadAll(c.original);
  constexpr size_t kGuard = 300;
  uint32_t seed = 1;
  for (int trial = 0; trial < 200; ++trial) {
    Bytes damaged = stream;
    for (int k = 0; k < 3; ++k) {
      seed = seed * 1103515245u + 12345u;
      damaged[1 + (seed >> 8) % (damaged.size() - 1)] ^= static_cast<unsigned char>(1u << (seed & 7));
    }
    // The decoder is asked for a smaller output than the stream holds, inside a guarded buffer.
    const size_t want = (seed >> 4) % original.size();
    Bytes out(want + 2 * kGuard, 0x5A);
    const LzmaStatus s = LzmaDecode(static_cast<unsigned char>(c.properties), c.dictionary,
                                    damaged.data(), damaged.size(), out.data() + kGuard, want);
    for (size_t i = 0; i < kGuard; ++i) {
      ASSERT_EQ(out[i], 0x5A) << "trial " << trial;
      ASSERT_EQ(out[kGuard + want + i], 0x5A) << "trial " << trial;
    }
    EXPECT_NE(s, LzmaStatus::Ok) << "trial " << trial;
  }
}

TEST(BcjX86Test, LeavesShortBuffersAndTheLastFourBytesAlone) {
  unsigned char tiny[4] = {0xE8, 0x10, 0x00, 0x00};
  BcjX86Decode(tiny, sizeof tiny);
  EXPECT_EQ(tiny[1], 0x10);
  // A CALL whose operand is the absolute target 0x20 at offset 0 becomes relative to offset 5.
  unsigned char call[9] = {0xE8, 0x20, 0x00, 0x00, 0x00, 0xE8, 0x01, 0x00, 0x00};
  BcjX86Decode(call, sizeof call);
  EXPECT_EQ(Le32(Bytes(call, call + 9), 1), 0x1Bu);
  EXPECT_EQ(call[5], 0xE8);
  EXPECT_EQ(call[6], 0x01);
}

}  // namespace
}  // namespace vexbane
