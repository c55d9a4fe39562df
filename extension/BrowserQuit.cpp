// What happens when a browser window quits.
#include "BrowserQuit.h"

#include "Hooks.h"

namespace vexbane::ext {

void OnBrowserQuit(ThreadState& st, int16_t& /*countIE*/) noexcept {
  if (!st.lngFrameHwnd) return;
  ReleaseHooks(st);
}

}  // namespace vexbane::ext
