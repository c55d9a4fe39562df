// Rules of the helper's attach to a browser window: which host is a browser frame, how the count grows.
#pragma once
#include <cstdint>
#include <string_view>

namespace vexbane::newwindow {

// The class name as GetClassName gave it (`length` characters of the buffer), trimmed and
// compared without regard to case with "IEFRAME". Other hosts (a file manager that loads
// browser helpers) get the events but no hooks, no tray start and no count.
bool IsBrowserFrameClass(std::string_view className);

// The count written back at attach: the stored count plus one. A stored text that is not a
// 16-bit number leaves `previous` (the object's last count) as the base; the sum stops at the
// 16-bit limit rather than wrapping to a negative count.
int16_t CountAfterAttach(int16_t previous, std::string_view storedText);

}  // namespace vexbane::newwindow

namespace vexbane::newwindow {

// Caption of the tray program's hidden form, the parent of both signal buttons.
inline constexpr char kTrayFormCaption[] = "Vexbane Tray Form";
// Captions of the two buttons: "hButton" names `cmdBlock`, "hForm" names `cmdForm`.
inline constexpr char kBlockButtonCaption[] = "Block";
inline constexpr char kFormButtonCaption[] = "Form Close";

// A published handle may by now belong to another program's window: only a window captioned
// like the button, whose parent is captioned like the tray form, is the tray's button.
bool IsTrayButton(std::string_view text, std::string_view parentText, std::string_view caption);

}  // namespace vexbane::newwindow
