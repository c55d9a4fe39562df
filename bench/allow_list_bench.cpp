// How long one new-window decision spends on the allow list: parsed and searched whole (as
// before the list was kept compiled), and matched through the compiled list.
#include "core/allow_list.h"
#include "core/allow_list_matcher.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

std::string MakeFile(int entries) {
  std::vector<std::string> list;
  for (int i = 0; i < entries; ++i) list.push_back("site" + std::to_string(i) + ".example");
  return vexbane::FormatAllowList(list);
}

void BM_ParseAndMatchAllowList(benchmark::State& state) {
  std::string file = MakeFile(static_cast<int>(state.range(0)));
  const std::string url = "http://www.unlisted-host.example.org/path/page.html?q=1";
  for (auto _ : state) {
    auto entries = vexbane::ParseAllowList(file);
    benchmark::DoNotOptimize(vexbane::AllowListMatches(entries, url));
  }
}
BENCHMARK(BM_ParseAndMatchAllowList)->Arg(10)->Arg(100)->Arg(1000);

void BM_CompiledAllowListMatch(benchmark::State& state) {
  const vexbane::AllowListMatcher list(vexbane::ParseAllowList(MakeFile(static_cast<int>(state.range(0)))));
  const std::string url = "http://www.unlisted-host.example.org/path/page.html?q=1";
  for (auto _ : state) benchmark::DoNotOptimize(list.FirstMatch(url));
}
BENCHMARK(BM_CompiledAllowListMatch)->Arg(0)->Arg(1000)->Arg(10000);

void BM_CompileAllowList(benchmark::State& state) {
  const auto entries = vexbane::ParseAllowList(MakeFile(static_cast<int>(state.range(0))));
  for (auto _ : state) benchmark::DoNotOptimize(vexbane::AllowListMatcher(entries));
}
BENCHMARK(BM_CompileAllowList)->Arg(1000)->Arg(10000);

}  // namespace
