// Click classification of the browser thread's mouse hook: which presses and releases count as a click.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace vexbane::hooks {

// Classes of the browser's own chrome: a click there never opens a window from the page.
inline constexpr char kBrowserClassList[] =
    "#IEFRAME#CABINETWCLASS#TOOLBARWINDOW32#EDIT#COMBOLBOX#REBARWINDOW32#MSCTLS_STATUSBAR32";
inline constexpr char kBrowserWindowPrefix[] = "INTERNET EXPLORER";
inline constexpr char kHiddenBrowserClass[] = "INTERNET EXPLORER_HIDDEN";

// The class name as the mouse hook compares it: trimmed and upper-cased.
std::string MouseClassName(std::string_view rawClassName);

// True when the (already normalised) name occurs anywhere in the class list. A class name that
// could not be read is empty and so counts as listed.
bool IsListedBrowserClass(std::string_view className);

// The two times the mouse hook keeps; 0 means none recorded.
struct ClickTimes {
  int32_t lngClickTime = 0;
  int32_t lngButtonUpTime = 0;
};

// Left button pressed on a window of `className` (normalised) at time of day `now`.
void OnLeftButtonDown(ClickTimes& times, std::string_view className, int32_t now);

// Left button released on a window of `className` (normalised) at time of day `now`.
void OnLeftButtonUp(ClickTimes& times, std::string_view className, int32_t now);

}  // namespace vexbane::hooks
