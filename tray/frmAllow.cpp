// frmAllow's icon and the form's own icon, loaded from the program's resources.
#include "frmAllow.h"

#include "TrayResources.h"
#include "win/window.h"

namespace vexbane::tray {
namespace {

HICON LoadTrayIcon(int id, int size) noexcept {
  return static_cast<HICON>(::LoadImageA(win::ThisModule(), MAKEINTRESOURCEA(id), IMAGE_ICON, size, size, 0));
}

}  // namespace

TrayIcons::TrayIcons() noexcept {
  const int small = ::GetSystemMetrics(SM_CXSMICON);
  const int large = ::GetSystemMetrics(SM_CXICON);
  m_blocking.reset(LoadTrayIcon(IDI_TRAY_BLOCKING, small));
  m_allowing.reset(LoadTrayIcon(IDI_TRAY_ALLOWING, small));
  m_blockingLarge.reset(LoadTrayIcon(IDI_TRAY_BLOCKING, large));
}

}  // namespace vexbane::tray
