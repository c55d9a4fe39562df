// Helpers for the dialog suites: finding and reading the real windows, pumping messages, answering the message box.
#pragma once
#include <windows.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "ModTray.h"
#include "testsupport/registry_fixture.h"

namespace vexbane::tray::testing {

std::string Text(HWND window);
// The window of this class on the calling thread, or null.
HWND FindOwnWindow(const char* className, DWORD threadId = ::GetCurrentThreadId());
// Handles the thread's queued messages for `ms` milliseconds.
void Pump(DWORD ms);
// Clicks a dialog button the way a user's click ends: BM_CLICK to the button.
void Click(HWND dialog, int buttonId);
std::vector<std::string> ListBoxItems(HWND list);
// True when two regions cover the same pixels, however each splits them into rectangles.
bool SameArea(HRGN a, HRGN b);
// Client-relative rectangle of a control.
RECT ControlRect(HWND control);

// Opens `path` for reading as another program that holds it would, sharing it as `share` says
// (FILE_SHARE_READ: with readers only; 0: with nobody). INVALID_HANDLE_VALUE when it cannot.
HANDLE HoldFile(const std::string& path, DWORD share);

// What the message box showed, seen from another thread while it was open.
struct SeenMessageBox {
  bool found = false;
  std::string title;
  std::string text;
  std::string yesCaption;
  std::string noCaption;
  bool yesVisible = false;
  bool noVisible = false;
  RECT window{};
  RECT textRect{};
  bool ownerEnabled = true;
  DWORD style = 0;
  int focusBeforeKeys = 0;  // the control id that held the keyboard before Tab
};

// Keys as the dialog manager sees them: WM_KEYDOWN and WM_KEYUP posted to the control that
// holds the keyboard (after giving it to `control`, when one is named), then the thread's
// messages handled through the program's own keyboard hook.
void PressKey(WPARAM key, HWND control = nullptr);

// For MessageBoxAnswerer: instead of a click, Enter; or Tab, then Enter.
inline constexpr int kPressEnter = -1;
inline constexpr int kPressTabThenEnter = -2;

// Waits on its own thread for the message box of the UI thread, records what it shows and
// presses one of its buttons (or sends Esc when `pressId` is 0; keys: kPressEnter...).
class MessageBoxAnswerer {
 public:
  MessageBoxAnswerer(int pressId, HWND owner = nullptr);
  ~MessageBoxAnswerer();
  // Joins the thread and gives what it saw.
  const SeenMessageBox& Seen();

 private:
  void Run(DWORD uiThread, int pressId, HWND owner);
  SeenMessageBox m_seen;
  std::thread m_thread;
};

// Answers the UI thread's message boxes one after the other, as they come: the n-th box shown
// gets the n-th press (0: Esc). For an action that asks first and then gives a notice.
class MessageBoxSequenceAnswerer {
 public:
  MessageBoxSequenceAnswerer(std::vector<int> pressIds, HWND owner = nullptr);
  ~MessageBoxSequenceAnswerer();
  // Joins the thread and gives what each box showed (fewer than asked when boxes did not come).
  const std::vector<SeenMessageBox>& Seen();

 private:
  std::vector<SeenMessageBox> m_seen;
  std::thread m_thread;
};

// Opens a tool window through `open` while a message box it shows as it opens (a data file it
// could not read) is answered with `pressId`; what the box showed.
template <class Open>
SeenMessageBox SeenWhileOpening(int pressId, HWND& form, Open open) {
  MessageBoxAnswerer notice(pressId);
  form = open();
  Pump(50);
  return notice.Seen();
}

// The program folder of the test: Module().strAppPath points at a fresh scratch folder.
class ScopedAppFolder {
 public:
  ScopedAppFolder();
  ~ScopedAppFolder();
  const vexbane::testing::ScopedFolder& folder() const { return m_folder; }

 private:
  vexbane::testing::ScopedFolder m_folder;
  std::string m_saved;
};

}  // namespace vexbane::tray::testing
