// What happens when a browser window quits.
#include "BrowserQuit.h"

#include <optional>
#include <string>

#include "BrowserCount.h"
#include "CountIELock.h"
#include "CookieCleanerClient.h"
#include "QuitMark.h"
#include "TraySignal.h"
#include "core/newwindow_host.h"
#include "ModVexbaneIE.h"
#include "core/quit_count.h"
#include "core/settings.h"
#include "win/version.h"

namespace vexbane::ext {
namespace {

// From Vista on, the helper in Protected Mode may not delete in the user's cookie folder: the
// tray program, at the user's own level, is asked to clean. Without a tray to ask (or one that
// does not answer) the helper cleans itself, which still works outside Protected Mode.
void CleanCookiesIfAsked(ThreadState& st) noexcept {
  try {
    if (!quit::ShouldCleanCookies(ReadRegValue(settings::kProductKeyPath, settings::kAutoClean))) return;
    if (win::IsVistaOrLater() && AskTrayToCleanCookies(st.lngFormHwnd, st.lngFrameHwnd)) return;
    cookieclient::RunCookieCleaner();
  } catch (...) {
  }
}

void SignalLastWindow(ThreadState& st) noexcept {
  try {
    st.lngFormHwnd = HandleFromText(ReadRegValue(settings::kProductKeyPath, settings::kHForm), st.lngFormHwnd);
  } catch (...) {
  }
  PostToTrayButton(st.lngFormHwnd, settings::kHForm, newwindow::kFormButtonCaption);
}

}  // namespace

void OnBrowserQuit(ThreadState& st, int16_t& countIE, IWebBrowser2* quitting) noexcept {
  // Windows quitting at the same moment (tabs of one window, windows of other processes) are
  // still listed while each recounts. Each marks its browser first, so the others leave it
  // out; the marks are taken under the count's lock, so the one that marks last sees every
  // earlier mark and alone ends the session.
  long ticket = 0;
  {
    CountIELock lock;
    ticket = MarkQuitting(quitting);
  }
  bool laterQuitListed = false;
  const std::optional<int16_t> listed = CountListedBrowsers(quitting, ticket, &laterQuitListed);
  const quit::QuitPlan plan = quit::PlanQuit(listed, countIE, ticket && laterQuitListed);
  countIE = plan.countIE;
  if (!plan.writeCount) return;
  try {
    // An attach's read-add-write holds this lock; a fresh count written in its middle would be
    // overwritten at once by the attach's stale one. The recount itself stays outside: it
    // calls into other browser threads, which may be waiting for the lock.
    CountIELock lock;
    WriteRegValue(settings::kCountIE, std::to_string(countIE));
  } catch (...) {
  }
  if (!plan.lastWindow) return;
  // The tray ends soon after the signal; the cleaning runs first so that a slow clean never
  // leaves the tray running after the last browser window has gone.
  CleanCookiesIfAsked(st);
  SignalLastWindow(st);
}

}  // namespace vexbane::ext
