// The browser recount at quit: which shell windows count as browsers, and what the quit then does.
#pragma once
#include <cstdint>
#include <optional>
#include <string_view>

namespace vexbane::quit {

// True when the program file of a shell window's full path is the browser's: of the last 20
// characters (trimmed, upper-cased), the part after the last backslash begins with "I".
bool CountsAsBrowser(std::string_view fullName);

// What the quit does once the shell's windows are counted.
struct QuitPlan {
  bool writeCount = false;   // store `countIE` in "CountIE"
  int16_t countIE = 0;       // the windows left besides the quitting one
  bool lastWindow = false;   // clean cookies (as "AutoClean" says), then signal the tray
};

// `browsersListed` is the number of browser windows the collection lists, the quitting one
// included and those that are quitting too left out; no value when the collection could not
// be created: then nothing is known, and neither the stored count nor the tray is touched.
// `laterQuitListed`: a window that began to quit after this one is still listed. Windows that
// quit at the same moment each see the others quitting; only the one that began last (it saw
// every earlier one) ends the session, so the tray is told and cookies are cleaned once.
QuitPlan PlanQuit(std::optional<int16_t> browsersListed, int16_t previousCount, bool laterQuitListed = false);

// "AutoClean" as read (a missing value reads "1"): cleaning only when it converts to 1.
bool ShouldCleanCookies(std::string_view autoCleanText);

// WM_COPYDATA's dwData when the helper asks the tray program to run the automatic cookie clean
// (no data; wParam the quitting browser frame). On Vista and later the helper in Protected Mode
// runs at low integrity and may delete nothing in the user's cookie folder; the tray program
// runs at the user's own level. "VCLN" in little-endian bytes.
inline constexpr uint32_t kCleanCookiesTag = 0x4E4C4356;

}  // namespace vexbane::quit
