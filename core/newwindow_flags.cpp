// What NewWindow3's flags say about the window a page asked for.
#include "newwindow_flags.h"

namespace vexbane::newwindow {

BrowserWord WordOfFlags(uint32_t flags) {
  if (flags & (kUserRequested | kUserAllowed)) return BrowserWord::UserAsked;
  return (flags & kUnloading) ? BrowserWord::PageClosing : BrowserWord::None;
}

blocks::BlockKind KindOfRequest(uint32_t flags) {
  if (flags & kForceTab) return blocks::BlockKind::NewTab;
  if (flags & kForceWindow) return blocks::BlockKind::NewWindow;
  return (flags & kSuggestTab) ? blocks::BlockKind::NewTab : blocks::BlockKind::NewWindow;
}

}  // namespace vexbane::newwindow
