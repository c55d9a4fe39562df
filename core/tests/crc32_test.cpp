// CRC-32 against the published check values, and continued piece by piece.
#include "core/crc32.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace vexbane {
namespace {

uint32_t CrcOf(const char* text) {
  return Crc32(reinterpret_cast<const unsigned char*>(text), std::strlen(text));
}

TEST(Crc32Test, MatchesKnownVectors) {
  EXPECT_EQ(CrcOf("123456789"), 0xCBF43926u);
  EXPECT_EQ(CrcOf(""), 0u);
  EXPECT_EQ(CrcOf("a"), 0xE8B7BE43u);
  EXPECT_EQ(CrcOf("The quick brown fox jumps over the lazy dog"), 0x414FA339u);
  const unsigned char zeros[32] = {};
  EXPECT_EQ(Crc32(zeros, sizeof zeros), 0x190A55ADu);
  std::vector<unsigned char> ones(32, 0xFF);
  EXPECT_EQ(Crc32(ones.data(), ones.size()), 0xFF6CAB0Bu);
}

TEST(Crc32Test, PiecewiseEqualsWhole) {
  std::vector<unsigned char> data(1000);
  for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<unsigned char>(i * 7 + (i >> 3));
  const uint32_t whole = Crc32(data.data(), data.size());
  for (size_t cut : {size_t{0}, size_t{1}, size_t{5}, size_t{500}, size_t{999}, size_t{1000}}) {
    uint32_t crc = Crc32(data.data(), cut);
    crc = Crc32(data.data() + cut, data.size() - cut, crc);
    EXPECT_EQ(crc, whole) << "cut at " << cut;
  }
  uint32_t byByte = 0;
  for (unsigned char b : data) byByte = Crc32(&b, 1, byByte);
  EXPECT_EQ(byByte, whole);
}

}  // namespace
}  // namespace vexbane
