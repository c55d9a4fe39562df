// The new-window decision: which window a page may open, by level, allow list, Ctrl key and click time.
#pragma once
#include <cstdint>
#include <string_view>

#include "core/newwindow_flags.h"

namespace vexbane::newwindow {

// Blocking levels as stored in "Popup"; any other non-zero number acts as kDefault.
inline constexpr int16_t kOff = 0;
inline constexpr int16_t kLow = 1;
inline constexpr int16_t kDefault = 2;
inline constexpr int16_t kHigh = 3;
inline constexpr int16_t kAll = 4;

// Base time window (ms) by the number of open browser windows: more windows, slower machine.
int32_t BaseWindowMs(int16_t countIE);

// The final time window T (ms): the base window, half again when an HTML dialog frame was seen
// (a dialog steals time before the window opens), doubled at level 1, less a third at level 3.
// Halves and thirds are rounded to the nearest integer, an exact half to even.
int32_t TimeWindowMs(int16_t level, int16_t countIE, bool dialogFrameSeen);

// What the decision needs from the browser and the system, asked only when a step needs it,
// in the order the steps run (reading the page address refreshes the page the hooks later use;
// reading the browser count refreshes the object's count).
class Facts {
 public:
  virtual ~Facts() = default;
  virtual bool PageOnAllowList() = 0;
  virtual bool CtrlDown() = 0;
  virtual int16_t CountIE() = 0;
  virtual int32_t Now() = 0;  // time of day in ms
  // True when the new window's host is on the Blocked Hosts list; false when the browser did
  // not say where the window goes (NewWindow2 alone).
  virtual bool TargetOnBlockedHosts() { return false; }
};

enum class Reason {
  LevelOff,       // level 0: every window opens
  AllowList,      // the page is on the allow list
  CtrlKey,        // the Ctrl key is held
  BlockAll,       // level 4 blocks every other window
  NoClick,        // no click recorded (or already used by an earlier window)
  RecentClick,    // the click lies within the time window
  LateClick,      // the click lies outside the time window
  BlockedHost,    // the window would show a host of the Blocked Hosts list
  UserAsked,      // the browser says the user asked for the window (NewWindow3's flags)
  PageClosing,    // the browser says the page opened it while being left or closed
};

struct Decision {
  bool block = false;
  bool clearClickTime = false;  // every decision but level 0 uses up the click
  Reason reason = Reason::LevelOff;
  int32_t windowMs = 0;         // T, for RecentClick and LateClick
  int32_t elapsedMs = 0;        // time since the click, for RecentClick and LateClick
};

// Decides one new window. `clickTime` is the recorded click's time of day, 0 for none;
// `dialogFrameSeen` is true while an HTML dialog frame window is known to exist; `word` is what
// the browser's NewWindow3 flags said of the request.
Decision Decide(int16_t level, int32_t clickTime, bool dialogFrameSeen, Facts& facts,
                BrowserWord word = BrowserWord::None);

// Short English name of a reason ("allow list", "late click", ...), for reports.
std::string_view ReasonText(Reason reason);

}  // namespace vexbane::newwindow
