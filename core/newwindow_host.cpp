// Rules of the helper's attach to a browser window.
#include "newwindow_host.h"

#include <limits>

#include "core/text.h"

namespace vexbane::newwindow {

bool IsBrowserFrameClass(std::string_view className) {
  return ToUpper(Trim(className)) == "IEFRAME";
}

int16_t CountAfterAttach(int16_t previous, std::string_view storedText) {
  int16_t count = previous;
  AssignIfConverts(count, storedText);
  if (count == std::numeric_limits<int16_t>::max()) return count;
  return static_cast<int16_t>(count + 1);
}

}  // namespace vexbane::newwindow

namespace vexbane::newwindow {

bool IsTrayButton(std::string_view text, std::string_view parentText, std::string_view caption) {
  return text == caption && parentText == kTrayFormCaption;
}

}  // namespace vexbane::newwindow
