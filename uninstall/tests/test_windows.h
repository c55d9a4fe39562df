// Windows the uninstaller's tests put up or look for: a stand-in browser frame and Unhitch's warning box.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace vexbane::testing {

// A hidden top-level window of the given class and title, owned by the calling thread.
class StandInFrame {
 public:
  StandInFrame(const char* className, const char* title);
  ~StandInFrame();
  StandInFrame(const StandInFrame&) = delete;
  StandInFrame& operator=(const StandInFrame&) = delete;
  HWND hwnd() const { return m_hwnd; }
  // Changes the title; an empty title makes the window count as closed for Unhitch.
  void SetTitle(const char* title) const { ::SetWindowTextA(m_hwnd, title); }

 private:
  std::string m_className;
  HWND m_hwnd = nullptr;
};

// What a message box shows.
struct BoxSnapshot {
  std::string caption;
  std::string text;
  std::vector<std::string> buttons;
  std::vector<int> buttonIds;
  bool hasIcon = false;
};

// The standard message box captioned "Unhitch", or null.
HWND FindUnhitchBox();
HWND WaitForUnhitchBox(DWORD timeoutMs);
BoxSnapshot ReadBox(HWND box);
// Presses the box's OK button as a user would.
void PressOk(HWND box);

}  // namespace vexbane::testing
