// (d) Load time: what the helper costs each time a browser window opens (created, attached,
// detached and released), against the benchmark's own helper doing the work the product must
// do plainly. The first window of a process runs in a new process each round; later windows
// run here, one window of each helper in turn.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "attach_steps.h"
#include "bench_table.h"
#include "core/settings.h"
#include "helper_loader.h"
#include "testsupport/registry_fixture.h"

namespace vexbane::bench {
namespace {

constexpr int kFirstRounds = 9;
constexpr int kLaterRounds = 301;
constexpr int kStepRounds = 101;
constexpr int kStepOps = 10;

// What a first-window process reports, in milliseconds.
struct FirstWindow {
  double load = 0, create = 0, attach = 0, detach = 0, later = 0;
  double Total() const { return load + create + attach + detach; }
};

bool Parse(const std::string& text, FirstWindow& f) {
  return std::sscanf(text.c_str(), "%lf %lf %lf %lf %lf", &f.load, &f.create, &f.attach, &f.detach, &f.later) == 5;
}

std::vector<double> ParseList(const std::string& text) {
  std::vector<double> v;
  std::istringstream in(text);
  double d;
  while (in >> d) v.push_back(d);
  return v;
}

void SetUpKey(const testing::ScopedProductKey& key) {
  key.Set(settings::kPopup, "2");
  key.Set(settings::kSound, "2");
  key.Set(settings::kHForm, "0");
  key.Set(settings::kHButton, "0");
  key.Set(settings::kCountIE, "0");
}

void FirstWindowRows(std::vector<Row>& rows) {
  Pair total, load, attach, extra;
  for (int r = 0; r < kFirstRounds; ++r) {
    std::string outProduct, outPlain;
    if (r % 2) {
      RunSelf("--first-window plain", &outPlain);
      RunSelf("--first-window product", &outProduct);
    } else {
      RunSelf("--first-window product", &outProduct);
      RunSelf("--first-window plain", &outPlain);
    }
    FirstWindow a, b;
    if (!Parse(outProduct, a) || !Parse(outPlain, b)) {
      std::printf("load: a first-window process did not report (%s / %s)\n", outProduct.c_str(), outPlain.c_str());
      return;
    }
    total.Add(a.Total(), b.Total());
    load.Add(a.load, b.load);
    attach.Add(a.attach, b.attach);
    extra.Add(a.Total() - a.later, b.Total() - b.later);
  }
  rows.push_back({"load time, first window of a process", "plain helper, first window", total, "named below", "ms"});
  rows.push_back({"  first window: LoadLibrary", "plain helper's LoadLibrary", load, "", "ms"});
  rows.push_back({"  first window: SetSite (attach)", "plain helper's SetSite", attach, "", "ms"});
  rows.push_back({"  first window over a later window", "the same of the plain helper", extra, "", "ms"});

  // Each attach step the first time in a process: one process runs the product's steps, the
  // next the plain ones.
  std::vector<Pair> steps;
  std::vector<const char*> names;
  {
    AttachContext ctx;
    for (const AttachStep& s : AttachSteps(ctx)) names.push_back(s.name);
  }
  steps.resize(names.size());
  for (int r = 0; r < kFirstRounds; ++r) {
    std::string outProduct, outPlain;
    RunSelf(r % 2 ? "--first-steps plain" : "--first-steps product", r % 2 ? &outPlain : &outProduct);
    RunSelf(r % 2 ? "--first-steps product" : "--first-steps plain", r % 2 ? &outProduct : &outPlain);
    std::vector<double> a = ParseList(outProduct), b = ParseList(outPlain);
    if (a.size() != names.size() || b.size() != names.size()) {
      std::printf("load: a first-steps process did not report\n");
      return;
    }
    for (size_t i = 0; i < names.size(); ++i) steps[i].Add(a[i], b[i]);
  }
  for (size_t i = 0; i < names.size(); ++i) {
    rows.push_back({std::string("  first in a process: ") + names[i], "the same done plainly", steps[i], "", "ms"});
  }
}

void LaterWindowRows(std::vector<Row>& rows, const std::string& folder) {
  LoadedHelper product(folder, HelperKind::Product), plain(folder, HelperKind::Plain),
      nothing(folder, HelperKind::DoNothing);
  if (!product || !plain || !nothing) {
    std::printf("load: the helpers do not load\n");
    return;
  }
  BrowserWindow wProduct, wPlain, wNothing;
  for (int i = 0; i < 5; ++i) {
    AttachDetach(product, wProduct);
    AttachDetach(plain, wPlain);
    AttachDetach(nothing, wNothing);
  }
  Pair p = MeasureByTurns(kLaterRounds, 1, [&] { AttachDetach(product, wProduct); }, 1,
                          [&] { AttachDetach(plain, wPlain); });
  rows.push_back({"load time, later window", "plain helper, later window", p, "<= 1.2x"});
  Pair q = MeasureByTurns(kLaterRounds, 1, [&] { AttachDetach(plain, wPlain); }, 1,
                          [&] { AttachDetach(nothing, wNothing); });
  rows.push_back({"  plain helper, later window", "do-nothing helper", q, "(the work itself)"});

  AttachContext ctx{wProduct.browser(), folder};
  for (const AttachStep& s : AttachSteps(ctx)) {
    auto many = [](const std::function<void()>& f) {
      return [&f] {
        for (int i = 0; i < kStepOps; ++i) f();
      };
    };
    s.product();
    s.plain();
    Pair step = MeasureByTurns(kStepRounds, kStepOps, many(s.product), kStepOps, many(s.plain));
    rows.push_back({std::string("  later window: ") + s.name, "the same done plainly", step, ""});
  }
}

}  // namespace

// A browser process's first window: the helper's file loaded, one window attached and detached,
// then a second window for comparison. Prints the times in milliseconds.
int FirstWindowRole(const char* what) {
  ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  const bool steps = std::strncmp(what, "steps-", 6) == 0;
  std::string folder = PrepareProgramFolder();
  BrowserWindow window, second;
  if (steps) {
    AttachContext ctx{window.browser(), folder};
    const bool product = std::strcmp(what + 6, "product") == 0;
    for (const AttachStep& s : AttachSteps(ctx)) {
      double t0 = Now();
      (product ? s.product : s.plain)();
      std::printf("%.4f ", (Now() - t0) * 1e3);
    }
    std::printf("\n");
    return 0;
  }
  const double t0 = Now();
  LoadedHelper helper(folder, KindFromName(what));
  const double t1 = Now();
  win::ComPtr<IObjectWithSite> h = helper.Create();
  const double t2 = Now();
  if (h) h->SetSite(window.site());
  const double t3 = Now();
  if (h) h->SetSite(nullptr);
  h.reset();
  const double t4 = Now();
  AttachDetach(helper, second);
  const double t5 = Now();
  std::printf("%.4f %.4f %.4f %.4f %.4f\n", (t1 - t0) * 1e3, (t2 - t1) * 1e3, (t3 - t2) * 1e3, (t4 - t3) * 1e3,
              (t5 - t4) * 1e3);
  return helper ? 0 : 1;
}

void LoadFamily(std::vector<Row>& rows) {
  const std::string folder = PrepareProgramFolder();
  if (folder.empty()) {
    std::printf("load: cannot copy the helpers\n");
    return;
  }
  testing::ScopedProductKey key;
  SetUpKey(key);
  FirstWindowRows(rows);
  LaterWindowRows(rows, folder);
}

}  // namespace vexbane::bench
