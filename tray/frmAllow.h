// frmAllow: never shown; it only holds the icon that the tray shows while blocking is off.
#pragma once
#include <windows.h>

#include "win/unique.h"

namespace vexbane::tray {

// The two icons of the tray form, loaded from the program's resources at the small-icon size
// that the notification area draws.
class TrayIcons {
 public:
  TrayIcons() noexcept;
  // The form's own icon: blue and round.
  HICON Blocking() const noexcept { return m_blocking.get(); }
  // frmAllow's icon: grey.
  HICON Allowing() const noexcept { return m_allowing.get(); }
  // The large blocking icon for the form's window class.
  HICON BlockingLarge() const noexcept { return m_blockingLarge.get(); }

 private:
  win::UniqueIcon m_blocking;
  win::UniqueIcon m_allowing;
  win::UniqueIcon m_blockingLarge;
};

}  // namespace vexbane::tray
