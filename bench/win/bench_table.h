// Timing and the printed table of the Windows benchmark: each figure beside its floor, as a ratio.
#pragma once
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace vexbane::bench {

// Seconds on the performance counter.
inline double Now() {
  static const double perSecond = [] {
    LARGE_INTEGER f;
    ::QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart);
  }();
  LARGE_INTEGER t;
  ::QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) / perSecond;
}

inline double Median(std::vector<double> v) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

// Microseconds per operation of `batch` (which runs `ops` operations), median over `rounds`
// runs. The figure and its floor are measured by turns, so a slow spell of the machine (or of
// Wine's server) lands on both.
struct Pair {
  double figureUs = 0;
  double floorUs = 0;
  double Ratio() const { return floorUs > 0 ? figureUs / floorUs : 0; }
};

// `between` runs after each timed run of the figure, off the clock.
inline Pair MeasureByTurns(int rounds, int figureOps, const std::function<void()>& figure, int floorOps,
                           const std::function<void()>& floor, const std::function<void()>& between = [] {}) {
  std::vector<double> a, b;
  auto timed = [](const std::function<void()>& f, int ops) {
    double t0 = Now();
    f();
    return (Now() - t0) * 1e6 / ops;
  };
  // Every other round the floor goes first, so neither side always runs on the other's heels.
  for (int r = 0; r < rounds; ++r) {
    if (r % 2) {
      b.push_back(timed(floor, floorOps));
      a.push_back(timed(figure, figureOps));
      between();
    } else {
      a.push_back(timed(figure, figureOps));
      between();
      b.push_back(timed(floor, floorOps));
    }
  }
  return {Median(a), Median(b)};
}

struct Row {
  std::string what;
  std::string floor;
  Pair pair;
  std::string goal;
};

inline void PrintTable(const std::vector<Row>& rows) {
  std::printf("\n%-44s %12s  %-34s %12s %8s  %s\n", "figure", "us/op", "floor", "us/op", "ratio", "goal");
  std::printf("%s\n", std::string(128, '-').c_str());
  for (const Row& r : rows)
    std::printf("%-44s %12.2f  %-34s %12.2f %7.2fx  %s\n", r.what.c_str(), r.pair.figureUs, r.floor.c_str(),
                r.pair.floorUs, r.pair.Ratio(), r.goal.c_str());
  std::fflush(stdout);
}

// The families, each run in this one process.
void HookFamily(std::vector<Row>& rows);
void DecisionFamily(std::vector<Row>& rows);
void ScanFamily(std::vector<Row>& rows);
void CleaningFamily(std::vector<Row>& rows);

}  // namespace vexbane::bench
