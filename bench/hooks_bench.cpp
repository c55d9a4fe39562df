// What the browser thread's hooks cost per message: the number test every message pays, the
// click rules every mouse press pays, and the bookkeeping of one dialog scan.
#include "core/hooks_click.h"
#include "core/hooks_dialogs.h"
#include "core/hooks_messages.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

namespace {

void BM_MessageNumberTest(benchmark::State& state) {
  uint32_t message = 0x0200;
  for (auto _ : state) {
    benchmark::DoNotOptimize(vexbane::hooks::ClassifyHookMessage(message));
    message = (message + 1) & 0x7FF;
  }
}
BENCHMARK(BM_MessageNumberTest);

void BM_PressOnPageWindow(benchmark::State& state) {
  vexbane::hooks::ClickTimes times;
  const std::string name = vexbane::hooks::MouseClassName("Internet Explorer_Server");
  for (auto _ : state) {
    vexbane::hooks::OnLeftButtonDown(times, name, 1000);
    vexbane::hooks::OnLeftButtonUp(times, name, 1100);
    benchmark::DoNotOptimize(times);
  }
}
BENCHMARK(BM_PressOnPageWindow);

void BM_DialogScanBookkeeping(benchmark::State& state) {
  const auto dialogs = static_cast<int32_t>(state.range(0));
  std::string list, oldList;
  for (auto _ : state) {
    vexbane::hooks::BeginDialogScan(list, oldList);
    for (int32_t h = 0; h < dialogs; ++h) benchmark::DoNotOptimize(vexbane::hooks::AddScannedDialog(list, oldList, 0x10000 + h * 4));
  }
}
BENCHMARK(BM_DialogScanBookkeeping)->Arg(1)->Arg(10)->Arg(100);

}  // namespace
