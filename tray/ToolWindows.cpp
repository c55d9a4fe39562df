// The tool windows that the tray menu opens, at most one at a time.
#include "ToolWindows.h"

#include <cstring>

#include "ModTray.h"
#include "frmPopupAdvanced.h"
#include "frmPopupCookie.h"
#include "frmRecentBlocked.h"

namespace vexbane::tray {
namespace {

struct FindByClass {
  const char* className;
  HWND found;
};

BOOL CALLBACK MatchClass(HWND window, LPARAM param) noexcept {
  auto* search = reinterpret_cast<FindByClass*>(param);
  char name[64] = {};
  if (::GetClassNameA(window, name, sizeof name) && std::strcmp(name, search->className) == 0) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

// Unloads the tool window of this class on the program's own thread; its Form_Unload clears
// its open flag.
void UnloadForm(const char* className) noexcept {
  FindByClass search = {className, nullptr};
  ::EnumThreadWindows(::GetCurrentThreadId(), &MatchClass, reinterpret_cast<LPARAM>(&search));
  if (search.found) ::DestroyWindow(search.found);
}

}  // namespace

void mnuCookie_Click(HWND owner) noexcept {
  ModTray& module = Module();
  if (module.blnAllowListFormOpen) UnloadForm(frmPopupAdvanced::kClassName);
  if (module.blnRecentFormOpen) UnloadForm(frmRecentBlocked::kClassName);
  if (module.blnCookieFormOpen) return;
  module.blnCookieFormOpen = true;
  // A window that could not be made must not leave the command locked out for good.
  if (!frmPopupCookie::Show(owner)) module.blnCookieFormOpen = false;
}

void mnuWhiteList_Click(HWND owner) noexcept {
  ModTray& module = Module();
  if (module.blnCookieFormOpen) UnloadForm(frmPopupCookie::kClassName);
  if (module.blnRecentFormOpen) UnloadForm(frmRecentBlocked::kClassName);
  if (module.blnAllowListFormOpen) return;
  module.blnAllowListFormOpen = true;
  if (!frmPopupAdvanced::Show(owner)) module.blnAllowListFormOpen = false;
}

void mnuRecentBlocked_Click(HWND owner) noexcept {
  ModTray& module = Module();
  if (module.blnCookieFormOpen) UnloadForm(frmPopupCookie::kClassName);
  if (module.blnAllowListFormOpen) UnloadForm(frmPopupAdvanced::kClassName);
  if (module.blnRecentFormOpen) return;
  module.blnRecentFormOpen = true;
  if (!frmRecentBlocked::Show(owner)) module.blnRecentFormOpen = false;
}

void UnloadToolWindows() noexcept {
  UnloadForm(frmPopupAdvanced::kClassName);
  UnloadForm(frmPopupCookie::kClassName);
  UnloadForm(frmRecentBlocked::kClassName);
}

}  // namespace vexbane::tray
