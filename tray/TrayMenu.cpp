// Builds the tray icon's pop-up menu from the menu table.
#include "TrayMenu.h"

#include "core/tray_menu.h"

namespace vexbane::tray {

win::UniqueMenu BuildTrayMenu(int16_t intWinNT, HMENU& popup) noexcept {
  popup = nullptr;
  win::UniqueMenu bar(::CreateMenu());
  HMENU items = ::CreatePopupMenu();
  if (!bar || !items) {
    if (items) ::DestroyMenu(items);
    return bar;
  }
  for (const TrayMenuItem& item : TrayMenuItems(intWinNT)) {
    if (item.separator)
      ::AppendMenuA(items, MF_SEPARATOR, item.id, nullptr);
    else
      ::AppendMenuA(items, MF_STRING, item.id, item.caption);
  }
  if (!::AppendMenuA(bar.get(), MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(items), kPopupTrayCaption)) {
    ::DestroyMenu(items);
    return bar;
  }
  popup = items;
  return bar;
}

}  // namespace vexbane::tray
