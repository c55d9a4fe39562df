// The Windows benchmark: the helper's hot paths and the cookie cleaning, each beside its floor.
#include <objbase.h>

#include <cstdio>

#include "bench_table.h"

int main() {
  using namespace vexbane::bench;
  ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  std::vector<Row> rows;
  std::printf("Vexbane Windows benchmark (ratio = figure / floor, both measured by turns in this run)\n");
  HookFamily(rows);
  DecisionFamily(rows);
  ScanFamily(rows);
  CleaningFamily(rows);
  PrintTable(rows);
  ::CoUninitialize();
  return 0;
}
