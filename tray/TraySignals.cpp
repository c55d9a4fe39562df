// frmTrayForm's signal buttons: cmdBlock blinks the icon, cmdForm ends the program with the browser.
#include "frmTrayForm.h"

#include <shellapi.h>

#include "core/time_of_day.h"

namespace vexbane::tray {
namespace {

// Sleeps as the blink always has, yet takes the messages that other threads send meanwhile: a
// browser that reports a block must not wait out the blink. Posted clicks stay queued behind it.
void SleepTakingSentMessages(DWORD ms) noexcept {
  const DWORD start = ::GetTickCount();
  for (;;) {
    const DWORD elapsed = ::GetTickCount() - start;
    if (elapsed >= ms) return;
    if (::MsgWaitForMultipleObjects(0, nullptr, FALSE, ms - elapsed, QS_SENDMESSAGE) != WAIT_OBJECT_0) continue;
    MSG msg;
    // A peek delivers the sent messages; PM_NOREMOVE leaves every posted one where it is.
    ::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
  }
}

int32_t TimeOfDayNow() noexcept {
  SYSTEMTIME now = {};
  ::GetLocalTime(&now);
  return TimeOfDayFromParts(now.wHour, now.wMinute, now.wSecond, now.wMilliseconds);
}

}  // namespace

void frmTrayForm::cmdBlock_Click() noexcept {
  if (!ShouldBlink(TimeOfDayNow(), lngLastBlink)) return;
  NOTIFYICONDATAA& nid = m_module.nidTray;
  const HICON showing = nid.hIcon;
  for (int i = 0; i < kBlinkCycles; ++i) {
    nid.hIcon = m_icons.Allowing();
    NotifyIcon(NIM_MODIFY);
    SleepTakingSentMessages(kBlinkStepMs);
    nid.hIcon = m_icons.Blocking();
    NotifyIcon(NIM_MODIFY);
    SleepTakingSentMessages(kBlinkStepMs);
  }
  // Stamped at the end: clicks that queued up during the blink are within the quiet second.
  lngLastBlink = TimeOfDayNow();
  nid.hIcon = showing;
  m_iconInTray = NotifyIcon(NIM_MODIFY);
  // No SetForegroundWindow here: a block happens while the user types into the browser, and
  // Windows 95 and NT 4.0 would hand the keyboard to this hidden form.
  if (m_blinks < 255) ++m_blinks;
}

void frmTrayForm::cmdForm_Click() noexcept {
  // The last browser window may still be closing when the helper signals: give it a moment.
  const bool noBrowser = RunExitCheck([] { return ::FindWindowA(kBrowserFrameClass, nullptr) != nullptr; },
                                      [](int ms) { ::Sleep(static_cast<DWORD>(ms)); });
  if (noBrowser) Form_Unload();
}

}  // namespace vexbane::tray
