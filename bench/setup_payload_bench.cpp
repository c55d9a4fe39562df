// What setup spends on its payload: the whole read (checks, LZMA decoding, the x86 filter, the
// per-file CRCs and copies) against a floor measured in the same rounds: copying the same unpacked
// bytes once (memcpy), and where liblzma is at hand, liblzma decoding the same stream.
#include "core/setup_payload.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#ifdef VEXBANE_BENCH_LIBLZMA
#include <lzma.h>
#endif

namespace {

using Clock = std::chrono::steady_clock;
using Bytes = std::vector<unsigned char>;

Bytes ReadAll(const char* path) {
  std::ifstream f(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

double Percentile(std::vector<double> v, double p) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  return v[static_cast<size_t>(p * (v.size() - 1) + 0.5)];
}

double Seconds(Clock::time_point a, Clock::time_point b) {
  return std::chrono::duration<double>(b - a).count();
}

struct Setup {
  Bytes file;
  size_t unpacked = 0;
  size_t payload = 0;
  size_t program = 0;
  bool ok = false;
};

const Setup& TheSetup() {
  static const Setup setup = [] {
    Setup s;
    s.file = ReadAll(VEXBANE_BENCH_SETUP);
    std::vector<vexbane::PayloadFile> files;
    s.ok = vexbane::ReadSetupPayload(s.file.data(), s.file.size(), files, s.program) ==
           vexbane::PayloadStatus::Ok;
    for (const auto& f : files) s.unpacked += f.data.size();
    s.payload = s.file.size() - s.program;
    return s;
  }();
  return setup;
}

// Each round times the read and then the floor (every other round the floor first); the ratio
// is the median of the rounds' own ratios, with the floor's and the ratio's middle half.
template <typename Floor>
void RunAgainstFloor(benchmark::State& state, Floor floor) {
  const Setup& s = TheSetup();
  if (!s.ok) {
    state.SkipWithError("the setup file has no readable payload");
    return;
  }
  std::vector<double> floors, ratios;
  bool floorFirst = false;
  for (auto _ : state) {
    std::vector<vexbane::PayloadFile> files;
    size_t program = 0;
    double floorTime = 0;
    if (floorFirst) floorTime = floor();
    const auto a = Clock::now();
    benchmark::DoNotOptimize(vexbane::ReadSetupPayload(s.file.data(), s.file.size(), files, program));
    const double readTime = Seconds(a, Clock::now());
    if (!floorFirst) floorTime = floor();
    floorFirst = !floorFirst;
    state.SetIterationTime(readTime);
    floors.push_back(floorTime);
    ratios.push_back(readTime / floorTime);
  }
  state.counters["unpacked_KB"] = s.unpacked / 1024.0;
  state.counters["payload_KB"] = s.payload / 1024.0;
  state.counters["floor_ms"] = Percentile(floors, 0.5) * 1e3;
  state.counters["floor_ms_p25"] = Percentile(floors, 0.25) * 1e3;
  state.counters["floor_ms_p75"] = Percentile(floors, 0.75) * 1e3;
  state.counters["ratio"] = Percentile(ratios, 0.5);
  state.counters["ratio_p25"] = Percentile(ratios, 0.25);
  state.counters["ratio_p75"] = Percentile(ratios, 0.75);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * s.unpacked));
}

void BM_ReadSetupPayload_vs_Memcpy(benchmark::State& state) {
  const Setup& s = TheSetup();
  Bytes from(s.unpacked, 0x5A), to(s.unpacked);
  RunAgainstFloor(state, [&] {
    const auto a = Clock::now();
    std::memcpy(to.data(), from.data(), from.size());
    benchmark::ClobberMemory();
    return Seconds(a, Clock::now());
  });
}
BENCHMARK(BM_ReadSetupPayload_vs_Memcpy)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2);

#ifdef VEXBANE_BENCH_LIBLZMA
// The floor a general decoder sets: liblzma expanding the same raw stream through the same
// filters into one buffer (no checks, no per-file copies).
void BM_ReadSetupPayload_vs_Liblzma(benchmark::State& state) {
  const Setup& s = TheSetup();
  const unsigned char* header = s.file.data() + s.program;
  uint32_t tableSize, packedSize, dictionary;
  std::memcpy(&tableSize, header + 20, 4);
  std::memcpy(&packedSize, header + 24, 4);
  std::memcpy(&dictionary, header + 32, 4);
  const unsigned char properties = header[36];
  const unsigned char* stream = header + vexbane::kPayloadHeaderSize + tableSize;
  lzma_options_lzma options{};
  options.dict_size = dictionary;
  options.lc = properties % 9;
  options.lp = properties / 9 % 5;
  options.pb = properties / 45;
  Bytes out(s.unpacked + 1);
  // Returns the bytes liblzma gave; a floor that failed would flatter the ratio.
  auto decode = [&] {
    lzma_filter filters[3] = {{LZMA_FILTER_X86, nullptr}, {LZMA_FILTER_LZMA1, &options},
                              {LZMA_VLI_UNKNOWN, nullptr}};
    lzma_stream strm = LZMA_STREAM_INIT;
    uint64_t produced = 0;
    if (lzma_raw_decoder(&strm, filters) == LZMA_OK) {
      strm.next_in = stream;
      strm.avail_in = packedSize;
      strm.next_out = out.data();
      strm.avail_out = out.size();
      if (lzma_code(&strm, LZMA_FINISH) == LZMA_STREAM_END || strm.avail_in == 0) produced = strm.total_out;
      lzma_end(&strm);
    }
    return produced;
  };
  if (decode() != s.unpacked) {
    state.SkipWithError("liblzma did not decode the stream");
    return;
  }
  RunAgainstFloor(state, [&] {
    const auto a = Clock::now();
    benchmark::DoNotOptimize(decode());
    benchmark::ClobberMemory();
    return Seconds(a, Clock::now());
  });
}
BENCHMARK(BM_ReadSetupPayload_vs_Liblzma)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2);
#endif

}  // namespace
