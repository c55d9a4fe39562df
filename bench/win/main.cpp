// The Windows benchmark: the helper's hot paths, its load and navigation time, its memory per
// window and the cookie cleaning, each beside its floor.
#include <objbase.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "bench_table.h"

namespace {

// "--only decision,hook": just those families (load, navigation, memory, hook, decision, scan,
// cleaning), to re-measure a few rows without the whole run.
std::string g_only;

bool Wanted(const char* family) {
  if (g_only.empty()) return true;
  return ("," + g_only + ",").find(std::string(",") + family + ",") != std::string::npos;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace vexbane::bench;
  const int role = RunRole(argc, argv);
  if (role >= 0) return role;
  if (argc >= 3 && std::strcmp(argv[1], "--only") == 0) g_only = argv[2];
  ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  std::vector<Row> rows;
  std::printf("Vexbane Windows benchmark (ratio = median of the rounds' figure / floor, by turns in this run)\n");
  if (Wanted("load")) LoadFamily(rows);
  if (Wanted("navigation")) NavigationFamily(rows);
  if (Wanted("memory")) MemoryFamily(rows);
  if (Wanted("hook")) HookFamily(rows);
  if (Wanted("decision")) DecisionFamily(rows);
  if (Wanted("scan")) ScanFamily(rows);
  if (Wanted("cleaning")) CleaningFamily(rows);
  PrintTable(rows);
  ::CoUninitialize();
  return 0;
}
