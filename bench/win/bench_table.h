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

inline double Quantile(std::vector<double> v, double q) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  return v[static_cast<size_t>(q * static_cast<double>(v.size() - 1) + 0.5)];
}
inline double Median(const std::vector<double>& v) { return Quantile(v, 0.5); }

// A figure and its floor, timed in rounds by turns. The ratio is the median of the rounds' own
// ratios (figure / the floor of the same round), never one median over another: a slow spell of
// the machine or of Wine's server lands on both halves of a round alike.
struct Pair {
  std::vector<double> figureUs, floorUs;

  void Add(double figure, double floor) {
    figureUs.push_back(figure);
    floorUs.push_back(floor);
  }
  std::vector<double> Ratios() const {
    std::vector<double> r;
    for (size_t i = 0; i < figureUs.size() && i < floorUs.size(); ++i)
      if (floorUs[i] > 0) r.push_back(figureUs[i] / floorUs[i]);
    return r;
  }
  double Figure() const { return Median(figureUs); }
  double Floor() const { return Median(floorUs); }
  double Ratio() const { return Median(Ratios()); }
};

// `figure` and `floor` each run `ops` operations per call; microseconds per operation.
// `between` runs after each timed run of the figure, off the clock.
inline Pair MeasureByTurns(int rounds, int figureOps, const std::function<void()>& figure, int floorOps,
                           const std::function<void()>& floor, const std::function<void()>& between = [] {}) {
  Pair p;
  auto timed = [](const std::function<void()>& f, int ops) {
    double t0 = Now();
    f();
    return (Now() - t0) * 1e6 / ops;
  };
  // Every other round the floor goes first, so neither side always runs on the other's heels.
  for (int r = 0; r < rounds; ++r) {
    double a, b;
    if (r % 2) {
      b = timed(floor, floorOps);
      a = timed(figure, figureOps);
      between();
    } else {
      a = timed(figure, figureOps);
      between();
      b = timed(floor, floorOps);
    }
    p.Add(a, b);
  }
  return p;
}

struct Row {
  std::string what;
  std::string floor;
  Pair pair;
  std::string goal;
  std::string unit = "us";  // of the two figure columns
};

// The floor's spread and the ratio's spread are the middle half of the rounds (25th to 75th
// percentile), so the noise of the run can be judged beside the figures.
inline void PrintTable(const std::vector<Row>& rows) {
  std::printf("\n%-46s %10s  %-40s %10s %-17s %7s %-13s %s\n", "figure", "median", "floor", "median",
              "floor p25-p75", "ratio", "ratio p25-p75", "goal");
  std::printf("%s\n", std::string(160, '-').c_str());
  for (const Row& r : rows) {
    const auto& f = r.pair.floorUs;
    const auto ratios = r.pair.Ratios();
    char floorSpread[64], ratioSpread[64];
    std::snprintf(floorSpread, sizeof floorSpread, "%.1f-%.1f", Quantile(f, 0.25), Quantile(f, 0.75));
    std::snprintf(ratioSpread, sizeof ratioSpread, "%.2f-%.2f", Quantile(ratios, 0.25), Quantile(ratios, 0.75));
    char ratio[32] = "      -";
    if (!ratios.empty()) std::snprintf(ratio, sizeof ratio, "%6.2fx", r.pair.Ratio());
    else std::snprintf(ratioSpread, sizeof ratioSpread, "-");
    std::printf("%-46s %8.1f%-2s  %-40s %8.1f%-2s %-17s %s %-13s %s\n", r.what.c_str(), r.pair.Figure(),
                r.unit.c_str(), r.floor.c_str(), r.pair.Floor(), r.unit.c_str(), floorSpread, ratio,
                ratioSpread, r.goal.c_str());
  }
  std::fflush(stdout);
}

// The families, each run in this one process.
void HookFamily(std::vector<Row>& rows);
void DecisionFamily(std::vector<Row>& rows);
void ScanFamily(std::vector<Row>& rows);
void CleaningFamily(std::vector<Row>& rows);
void LoadFamily(std::vector<Row>& rows);
void NavigationFamily(std::vector<Row>& rows);
void MemoryFamily(std::vector<Row>& rows);

// The benchmark program started again as a helper process: a desktop of other programs'
// windows, or a browser process's first window. Returns the exit code, or -1 when `args`
// name no such role.
int RunRole(int argc, char** argv);

// Starts this program again with `args`; its standard output comes back in `output`.
// Returns the exit code, or -1 when it could not run.
int RunSelf(const std::string& args, std::string* output = nullptr);

}  // namespace vexbane::bench
