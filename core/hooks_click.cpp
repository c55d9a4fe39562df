// Click classification of the mouse hook.
#include "hooks_click.h"

#include "core/text.h"

namespace vexbane::hooks {

std::string MouseClassName(std::string_view rawClassName) { return ToUpper(Trim(rawClassName)); }

bool IsListedBrowserClass(std::string_view className) {
  return ContainsNoCase(kBrowserClassList, className);
}

namespace {

// Page windows of the browser (the press lands there before the page reacts) must be longer
// than the bare prefix, so a class named exactly "INTERNET EXPLORER" is not one of them.
bool IsBrowserPageClass(std::string_view className) {
  constexpr std::string_view prefix = kBrowserWindowPrefix;
  return className.size() > prefix.size() && className.substr(0, prefix.size()) == prefix;
}

}  // namespace

void OnLeftButtonDown(ClickTimes& times, std::string_view className, int32_t now) {
  if (IsBrowserPageClass(className) || IsListedBrowserClass(className)) {
    times.lngClickTime = 0;
  } else {
    times.lngClickTime = now;
  }
}

void OnLeftButtonUp(ClickTimes& times, std::string_view className, int32_t now) {
  times.lngButtonUpTime = now;
  times.lngClickTime = 0;
  if (!IsListedBrowserClass(className)) times.lngClickTime = times.lngButtonUpTime;
  if (className == kHiddenBrowserClass) times.lngClickTime = 0;
}

}  // namespace vexbane::hooks
