// (f) Memory per browser window: the heap bytes an attached window adds (100 windows attached at
// once), and what 100 attach/detach cycles keep once every window has gone (heap bytes and
// private bytes), against the benchmark's plain helper.
#include <windows.h>
#include <psapi.h>

#include <memory>
#include <vector>

#include "bench_table.h"
#include "core/settings.h"
#include "helper_loader.h"
#include "testsupport/registry_fixture.h"

namespace vexbane::bench {
namespace {

constexpr int kWindows = 100;
constexpr int kRounds = 5;

// The process's committed private memory (what Windows reports as private bytes), summed over
// its address space: Wine's process counters leave that figure out.
double PrivateKB() {
  SIZE_T total = 0;
  MEMORY_BASIC_INFORMATION m;
  for (const char* p = nullptr; ::VirtualQuery(p, &m, sizeof m) == sizeof m; p = static_cast<const char*>(m.BaseAddress) + m.RegionSize) {
    if (m.State == MEM_COMMIT && m.Type == MEM_PRIVATE) total += m.RegionSize;
    if (static_cast<const char*>(m.BaseAddress) + m.RegionSize < p) break;
  }
  return static_cast<double>(total) / 1024.0;
}

// The bytes in use in the process's heaps, block by block: private bytes move only by whole
// pages, and only when a heap grows, so a window's few hundred bytes never show in them.
double HeapInUseBytes() {
  HANDLE heaps[64];
  const DWORD count = ::GetProcessHeaps(64, heaps);
  SIZE_T total = 0;
  for (DWORD i = 0; i < count && i < 64; ++i) {
    if (!::HeapLock(heaps[i])) continue;
    PROCESS_HEAP_ENTRY entry = {};
    while (::HeapWalk(heaps[i], &entry)) {
      if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) total += entry.cbData;
    }
    ::HeapUnlock(heaps[i]);
  }
  return static_cast<double>(total);
}

using Measure = double (*)();

// Per window while 100 windows are attached, by MEASURE.
double PerWindow(const LoadedHelper& helper, std::vector<std::unique_ptr<BrowserWindow>>& windows, Measure measure) {
  std::vector<win::ComPtr<IObjectWithSite>> attached;
  attached.reserve(windows.size());
  const double before = measure();
  for (auto& w : windows) {
    attached.push_back(helper.Create());
    attached.back()->SetSite(w->site());
  }
  const double during = measure();
  for (auto& h : attached) h->SetSite(nullptr);
  attached.clear();
  return (during - before) / static_cast<double>(windows.size());
}

// Kept after 100 windows came and went, one after the other, by MEASURE.
double KeptAfterCycles(const LoadedHelper& helper, const BrowserWindow& window, Measure measure) {
  const double before = measure();
  for (int i = 0; i < kWindows; ++i) AttachDetach(helper, window);
  return measure() - before;
}

}  // namespace

void MemoryFamily(std::vector<Row>& rows) {
  const std::string folder = PrepareProgramFolder();
  testing::ScopedProductKey key;
  key.Set(settings::kHForm, "0");
  key.Set(settings::kHButton, "0");
  key.Set(settings::kCountIE, "0");
  LoadedHelper product(folder, HelperKind::Product), plain(folder, HelperKind::Plain);
  if (!product || !plain) {
    std::printf("memory: the helpers do not load\n");
    return;
  }
  std::vector<std::unique_ptr<BrowserWindow>> windows;
  for (int i = 0; i < kWindows; ++i) windows.push_back(std::make_unique<BrowserWindow>());
  BrowserWindow one;
  // The heap's first growth and the modules' first use are not a window's.
  PerWindow(product, windows, &HeapInUseBytes);
  PerWindow(plain, windows, &HeapInUseBytes);
  KeptAfterCycles(product, one, &HeapInUseBytes);
  KeptAfterCycles(plain, one, &HeapInUseBytes);

  Pair perWindow, kept, keptPrivate;
  for (int r = 0; r < kRounds; ++r) {
    const double a = PerWindow(product, windows, &HeapInUseBytes);
    perWindow.Add(a, PerWindow(plain, windows, &HeapInUseBytes));
    const double b = KeptAfterCycles(product, one, &HeapInUseBytes);
    kept.Add(b, KeptAfterCycles(plain, one, &HeapInUseBytes));
    const double c = KeptAfterCycles(product, one, &PrivateKB);
    keptPrivate.Add(c, KeptAfterCycles(plain, one, &PrivateKB));
  }
  rows.push_back({"heap bytes per attached window (100 at once)", "plain helper", perWindow, "quoted", "B"});
  rows.push_back({"heap bytes kept after 100 attach/detach", "plain helper", kept, "0 (no growth)", "B"});
  rows.push_back({"private KB kept after 100 attach/detach", "plain helper", keptPrivate, "0 (no growth)", "KB"});
}

}  // namespace vexbane::bench
