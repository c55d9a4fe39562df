// What happens when a browser window quits: windows recounted, the tray told when none is
// left, cookies cleaned when the user asked for it. The quitting object gives back its share
// of the thread's hooks itself (CVexbaneIEDLL).
#pragma once
#include <windows.h>
#include <exdisp.h>

#include <cstdint>

#include "ThreadState.h"

namespace vexbane::ext {

// Runs once per attached frame object, whatever other objects of the thread attached to since;
// `countIE` is the object's browser count; `quitting` the object's browser.
void OnBrowserQuit(ThreadState& st, int16_t& countIE, IWebBrowser2* quitting) noexcept;

}  // namespace vexbane::ext
