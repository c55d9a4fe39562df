// The Windows benchmark: the helper's hot paths, its load and navigation time, its memory per
// window and the cookie cleaning, each beside its floor.
#include <objbase.h>

#include <cstdio>

#include "bench_table.h"

int main(int argc, char** argv) {
  using namespace vexbane::bench;
  const int role = RunRole(argc, argv);
  if (role >= 0) return role;
  ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  std::vector<Row> rows;
  std::printf("Vexbane Windows benchmark (ratio = median of the rounds' figure / floor, by turns in this run)\n");
  LoadFamily(rows);
  NavigationFamily(rows);
  MemoryFamily(rows);
  HookFamily(rows);
  DecisionFamily(rows);
  ScanFamily(rows);
  CleaningFamily(rows);
  PrintTable(rows);
  ::CoUninitialize();
  return 0;
}
