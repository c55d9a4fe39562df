// Reading the setup payload when memory runs short: the files' whole size is needed twice (the
// decoded stream, then each file's copy), and memory that cannot be had reads as Damaged with
// nothing handed back, also where the reader is built without exceptions (the shipped setup,
// where a failed allocation would end the program). Built twice (core/CMakeLists.txt): against the
// core as the other programs link it, and with the reader compiled as setup compiles it.
//
// Every allocation of this program goes through the counting operator new below; a budget in
// force refuses what would take the live bytes past it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <new>
#include <string>
#include <vector>

#include "core/setup_payload.h"

namespace {

bool g_limited = false;
size_t g_budget = 0;
size_t g_live = 0;

struct alignas(alignof(std::max_align_t)) Block {
  size_t size;
  bool counted;
};

void* Take(size_t size) noexcept {
  if (g_limited && (size > g_budget || g_live > g_budget - size)) return nullptr;
  Block* b = static_cast<Block*>(std::malloc(sizeof(Block) + size));
  if (b == nullptr) return nullptr;
  b->size = size;
  b->counted = g_limited;
  if (b->counted) g_live += size;
  return b + 1;
}

void Give(void* p) noexcept {
  if (p == nullptr) return;
  Block* b = static_cast<Block*>(p) - 1;
  if (b->counted) g_live -= b->size;
  std::free(b);
}

// The budget in force for one reader call.
class Budget {
 public:
  explicit Budget(size_t bytes) {
    g_budget = bytes;
    g_live = 0;
    g_limited = true;
  }
  ~Budget() { g_limited = false; }
};

}  // namespace

void* operator new(size_t size) {
  void* p = Take(size);
  if (p == nullptr) throw std::bad_alloc();
  return p;
}
void* operator new[](size_t size) { return operator new(size); }
void* operator new(size_t size, const std::nothrow_t&) noexcept { return Take(size); }
void* operator new[](size_t size, const std::nothrow_t&) noexcept { return Take(size); }
void operator delete(void* p) noexcept { Give(p); }
void operator delete[](void* p) noexcept { Give(p); }
void operator delete(void* p, size_t) noexcept { Give(p); }
void operator delete[](void* p, size_t) noexcept { Give(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { Give(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { Give(p); }

namespace vexbane {
namespace {

using Bytes = std::vector<unsigned char>;

class PayloadMemory : public ::testing::Test {
 protected:
  void SetUp() override {
    std::ifstream f(std::string(VEXBANE_PAYLOAD_INPUTS) + "/setup.exe", std::ios::binary);
    ASSERT_TRUE(f.good());
    m_setup.assign(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
    ASSERT_GT(m_setup.size(), kPayloadHeaderSize + kPayloadTrailerSize);
    // The header's unpacked size: the files' bytes added up.
    const size_t payloadSize = Le32(m_setup.size() - kPayloadTrailerSize + 8);
    m_unpacked = Le32(m_setup.size() - payloadSize + 28);
    ASSERT_GT(m_unpacked, 4096u);
  }

  size_t Le32(size_t at) const {
    return m_setup[at] | m_setup[at + 1] << 8 | m_setup[at + 2] << 16 |
           static_cast<size_t>(m_setup[at + 3]) << 24;
  }

  // The reader's answer under a budget; what it hands back is checked in each case.
  PayloadStatus ReadWithin(size_t budget, std::vector<PayloadFile>& files, size_t& programPart) {
    Budget b(budget);
    return ReadSetupPayload(m_setup.data(), m_setup.size(), files, programPart);
  }

  Bytes m_setup;
  size_t m_unpacked = 0;
};

TEST_F(PayloadMemory, NoRoomToDecodeReadsAsDamaged) {
  std::vector<PayloadFile> files(1);
  size_t programPart = 1;
  EXPECT_EQ(ReadWithin(m_unpacked / 2, files, programPart), PayloadStatus::Damaged);
  EXPECT_TRUE(files.empty());
  EXPECT_EQ(programPart, 0u);
}

TEST_F(PayloadMemory, RoomToDecodeButNotToCopyReadsAsDamaged) {
  std::vector<PayloadFile> files(1);
  size_t programPart = 1;
  EXPECT_EQ(ReadWithin(m_unpacked + m_unpacked / 2, files, programPart), PayloadStatus::Damaged);
  EXPECT_TRUE(files.empty());
  EXPECT_EQ(programPart, 0u);
  EXPECT_EQ(g_live, 0u) << "memory taken under the budget is given back";
}

TEST_F(PayloadMemory, RoomForBothReadsEveryFile) {
  std::vector<PayloadFile> files;
  size_t programPart = 0;
  ASSERT_EQ(ReadWithin(2 * m_unpacked + 64 * 1024, files, programPart), PayloadStatus::Ok);
  size_t total = 0;
  for (const PayloadFile& f : files) total += f.data.size();
  EXPECT_EQ(total, m_unpacked);
  EXPECT_GT(programPart, 0u);
}

}  // namespace
}  // namespace vexbane
