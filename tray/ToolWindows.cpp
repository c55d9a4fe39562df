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

HWND FindForm(const char* className) noexcept {
  FindByClass search = {className, nullptr};
  ::EnumThreadWindows(::GetCurrentThreadId(), &MatchClass, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Unloads the tool window of this class on the program's own thread; its Form_Unload clears
// its open flag.
void UnloadForm(const char* className) noexcept {
  if (HWND form = FindForm(className)) ::DestroyWindow(form);
}

// The tool windows, at most one open at a time: opening one closes the others.
struct ToolWindow {
  const char* className;
  bool ModTray::*openFlag;
  HWND (*show)(HWND owner) noexcept;
};

const ToolWindow kToolWindows[] = {
    {frmPopupCookie::kClassName, &ModTray::blnCookieFormOpen, &frmPopupCookie::Show},
    {frmPopupAdvanced::kClassName, &ModTray::blnAllowListFormOpen, &frmPopupAdvanced::Show},
    {frmRecentBlocked::kClassName, &ModTray::blnRecentFormOpen, &frmRecentBlocked::Show},
    {frmPopupAdvanced::kBlockedHostsClassName, &ModTray::blnBlockedHostsFormOpen, &frmPopupAdvanced::ShowBlockedHosts},
};

void OpenToolWindow(const ToolWindow& wanted, HWND owner) noexcept {
  ModTray& module = Module();
  for (const ToolWindow& other : kToolWindows)
    if (&other != &wanted && module.*other.openFlag) UnloadForm(other.className);
  // A second pick for the open window leaves it where it stands in the window order.
  if (module.*wanted.openFlag) return;
  module.*wanted.openFlag = true;
  // A window that could not be made must not leave the command locked out for good.
  if (!wanted.show(owner)) module.*wanted.openFlag = false;
}

}  // namespace

void mnuCookie_Click(HWND owner) noexcept { OpenToolWindow(kToolWindows[0], owner); }

void mnuWhiteList_Click(HWND owner) noexcept { OpenToolWindow(kToolWindows[1], owner); }

void mnuRecentBlocked_Click(HWND owner) noexcept { OpenToolWindow(kToolWindows[2], owner); }

void mnuBlockedHosts_Click(HWND owner) noexcept { OpenToolWindow(kToolWindows[3], owner); }

void UnloadToolWindows() noexcept {
  for (const ToolWindow& w : kToolWindows) UnloadForm(w.className);
}

}  // namespace vexbane::tray
