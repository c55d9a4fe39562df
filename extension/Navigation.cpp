// CVexbaneIEDLL: navigation and title changes keep the click time and the page address current.
#include "BrowserProps.h"
#include "CVexbaneIEDLL.h"

namespace vexbane::ext {

// The click time that the attach set is meant for a window opened while the first page loads;
// once the window's first navigation begins it is used up.
void CVexbaneIEDLL::m_ie_BeforeNavigate2() noexcept {
  if (!m_firstNavigate) return;
  if (ThreadState* st = CurrentThreadState()) st->lngClickTime = 0;
  m_firstNavigate = false;
}

// A new title means a new page: an earlier click no longer speaks for it, and the dialog
// check needs its address.
void CVexbaneIEDLL::m_ie_TitleChange() noexcept {
  ThreadState* st = CurrentThreadState();
  if (!st) return;
  st->lngClickTime = 0;
  ReadLocationURL(m_ie.get(), st->strPageURL);
}

}  // namespace vexbane::ext
