// The new-window decision and its time windows.
#include "newwindow_decision.h"

#include "core/text.h"
#include "core/time_of_day.h"

namespace vexbane::newwindow {

int32_t BaseWindowMs(int16_t countIE) {
  if (countIE < 0 || countIE >= 9) return 1200;
  if (countIE <= 2) return 700;
  if (countIE <= 4) return 800;
  if (countIE <= 6) return 900;
  return 1000;
}

int32_t TimeWindowMs(int16_t level, int16_t countIE, bool dialogFrameSeen) {
  int64_t t = BaseWindowMs(countIE);
  if (dialogFrameSeen) t += RoundHalfEven(static_cast<double>(t) / 2.0);
  if (level == kLow) t = 2 * t;
  if (level == kHigh) t -= RoundHalfEven(static_cast<double>(t) / 3.0);
  return static_cast<int32_t>(t);
}

Decision Decide(int16_t level, int32_t clickTime, bool dialogFrameSeen, Facts& facts, BrowserWord word) {
  Decision d;
  if (level == kOff) return d;
  d.clearClickTime = true;
  const bool pageOnAllowList = facts.PageOnAllowList();
  // The browser's word that the user asked for the window opens it as Ctrl does, even to a
  // blocked host: the user chose that window, not the page.
  if (word == BrowserWord::UserAsked) {
    d.reason = Reason::UserAsked;
    return d;
  }
  // The allow list speaks of the page, the Blocked Hosts list of the window's target: a listed
  // host is blocked even from an allowed page and right after a click; only Ctrl opens it.
  if (facts.TargetOnBlockedHosts()) {
    if (facts.CtrlDown()) {
      d.reason = Reason::CtrlKey;
      return d;
    }
    d.block = true;
    d.reason = Reason::BlockedHost;
    // The click was not what opened this window: it stays for the window the user wanted
    // (a site opens its ad beside the page the user clicked for).
    d.clearClickTime = false;
    return d;
  }
  if (pageOnAllowList) {
    d.reason = Reason::AllowList;
    return d;
  }
  if (facts.CtrlDown()) {
    d.reason = Reason::CtrlKey;
    return d;
  }
  if (word == BrowserWord::PageClosing) {
    // The exit pop-up: the click that left the page was for the next page, not for this window,
    // so it is neither used nor used up here.
    d.block = true;
    d.reason = Reason::PageClosing;
    d.clearClickTime = false;
    return d;
  }
  if (level == kAll) {
    d.block = true;
    d.reason = Reason::BlockAll;
    return d;
  }
  if (clickTime == 0) {
    d.block = true;
    d.reason = Reason::NoClick;
    return d;
  }
  d.windowMs = TimeWindowMs(level, facts.CountIE(), dialogFrameSeen);
  // Midnight-safe: a click at 23:59:59.900 is 200 ms before an event at 00:00:00.100.
  d.elapsedMs = ElapsedMs(facts.Now(), clickTime);
  d.block = d.elapsedMs > d.windowMs;
  d.reason = d.block ? Reason::LateClick : Reason::RecentClick;
  return d;
}

std::string_view ReasonText(Reason reason) {
  switch (reason) {
    case Reason::LevelOff: return "blocking off";
    case Reason::AllowList: return "allow list";
    case Reason::CtrlKey: return "Ctrl key";
    case Reason::BlockAll: return "block all";
    case Reason::NoClick: return "no click";
    case Reason::RecentClick: return "recent click";
    case Reason::LateClick: return "late click";
    case Reason::BlockedHost: return "blocked host";
    case Reason::UserAsked: return "user asked the browser";
    case Reason::PageClosing: return "page closing";
  }
  return "?";
}

}  // namespace vexbane::newwindow
