// (e) Navigation time: the events of one page visit with one inner frame (BeforeNavigate2,
// NavigateComplete2 and DocumentComplete of the page and of the frame, a title change) fired at
// a window with the product's helper, against a window with the benchmark's helper doing the
// visit's work plainly (the click time cleared, the page address kept as ANSI text).
#include <windows.h>

#include <string>
#include <vector>

#include "bench_table.h"
#include "core/settings.h"
#include "helper_loader.h"
#include "testsupport/registry_fixture.h"

namespace vexbane::bench {
namespace {

constexpr int kVisits = 100;
constexpr int kRounds = 31;
constexpr char kTop[] = "http://www.example.com/news/index.html";
constexpr char kFrame[] = "http://ads.example.net/frame.html";

VARIANTARG Bstr(const char* text) {
  VARIANTARG v;
  ::VariantInit(&v);
  V_VT(&v) = VT_BSTR;
  V_BSTR(&v) = ::SysAllocString(host::Widen(text).c_str());
  return v;
}

// NavigateComplete2 and DocumentComplete: (pDisp, URL by reference).
void FireComplete(host::HostBrowser* b, DISPID id, VARIANT* url) {
  std::vector<VARIANTARG> args(2);
  ::VariantInit(&args[0]);
  V_VT(&args[0]) = VT_DISPATCH;
  V_DISPATCH(&args[0]) = static_cast<IWebBrowser2*>(b);
  b->AddRef();
  ::VariantInit(&args[1]);
  V_VT(&args[1]) = VT_BYREF | VT_VARIANT;
  V_VARIANTREF(&args[1]) = url;
  b->Fire(id, std::move(args));
}

void Visit(host::HostBrowser* b, VARIANT* top, VARIANT* frame) {
  b->FireBeforeNavigate2(kTop);
  FireComplete(b, 252, top);
  b->FireBeforeNavigate2(kFrame);
  b->SetLocationURL(kTop);  // the frame's navigation leaves the page's address
  FireComplete(b, 252, frame);
  FireComplete(b, 259, frame);
  b->Fire(113, {Bstr("Example News")});
  FireComplete(b, 259, top);
}

}  // namespace

void NavigationFamily(std::vector<Row>& rows) {
  const std::string folder = PrepareProgramFolder();
  testing::ScopedProductKey key;
  key.Set(settings::kHForm, "0");
  key.Set(settings::kHButton, "0");
  LoadedHelper product(folder, HelperKind::Product), plain(folder, HelperKind::Plain),
      nothing(folder, HelperKind::DoNothing);
  if (!product || !plain || !nothing) {
    std::printf("navigation: the helpers do not load\n");
    return;
  }
  BrowserWindow wProduct, wPlain, wNothing;
  auto hProduct = product.Create(), hPlain = plain.Create(), hNothing = nothing.Create();
  hProduct->SetSite(wProduct.site());
  hPlain->SetSite(wPlain.site());
  hNothing->SetSite(wNothing.site());
  VARIANT top = Bstr(kTop), frame = Bstr(kFrame);
  auto visits = [&](const BrowserWindow& w) {
    return [&] {
      for (int i = 0; i < kVisits; ++i) Visit(w.browser(), &top, &frame);
    };
  };
  visits(wProduct)();
  visits(wPlain)();
  visits(wNothing)();
  Pair p = MeasureByTurns(kRounds, kVisits, visits(wProduct), kVisits, visits(wPlain));
  rows.push_back({"navigation time, one visit (7 events)", "plain helper, the same visit", p, "<= 1.05x"});
  Pair q = MeasureByTurns(kRounds, kVisits, visits(wPlain), kVisits, visits(wNothing));
  rows.push_back({"  plain helper, one visit", "do-nothing helper", q, "(the work itself)"});
  hProduct->SetSite(nullptr);
  hPlain->SetSite(nullptr);
  hNothing->SetSite(nullptr);
  ::VariantClear(&top);
  ::VariantClear(&frame);
}

}  // namespace vexbane::bench
