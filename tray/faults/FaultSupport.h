// The fault suite's means: files and folders as a user's tools leave them, the installed program
// folder, and the real tray program driven from another process with its message boxes answered.
#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "testsupport/registry_fixture.h"

namespace vexbane::faults {

// What is at a path, as the file system says.
bool IsPlainFile(const std::string& path);
bool IsFolder(const std::string& path);
// Removes a file or a whole folder, read-only entries included; nothing there is fine.
void RemovePath(const std::string& path);
void WriteText(const std::string& path, const std::string& text);
// The bytes of a plain file that can be read now; nothing otherwise.
std::optional<std::string> ReadText(const std::string& path);

// The product as the installer lays it out: the tray program, the helper and the cookie
// cleaner in one folder whose name holds spaces, both components registered from there.
class ProgramFolder {
 public:
  ProgramFolder();
  ~ProgramFolder();
  ProgramFolder(const ProgramFolder&) = delete;
  ProgramFolder& operator=(const ProgramFolder&) = delete;
  // Empty when the folder could not be laid out.
  const std::string& error() const { return m_error; }
  const std::string& path() const { return m_path; }
  std::string File(const std::string& name) const { return m_path + "\\" + name; }

 private:
  std::string m_path;
  std::string m_error;
};

// A message box of the tray program, as it was shown.
struct Notice {
  std::string title;
  std::string text;
};

// The real tray program as another process sees it.
class TrayDriver {
 public:
  TrayDriver();
  ~TrayDriver();
  TrayDriver(const TrayDriver&) = delete;
  TrayDriver& operator=(const TrayDriver&) = delete;

  // Starts the program from the folder unless it runs, and waits until its loop takes messages.
  bool EnsureRunning(const std::string& exePath, const vexbane::testing::ScopedProductKey& key);
  // Ends the program through its own exit signal, or by force when it will not go.
  void Stop();
  bool Running() const;
  // Waits for the program to end by itself.
  bool WaitExit(DWORD ms) const;

  HWND form() const { return m_form; }
  // Posts a message to a window of the program, then waits until it and all that it led to
  // have been handled; every message box shown meanwhile is recorded and answered with its
  // first button. False when the program stopped answering.
  bool Post(HWND target, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
  bool Command(uint16_t menuId);
  // Waits until everything posted so far has been handled, answering message boxes.
  bool Settle();
  std::vector<Notice> TakeNotices();
  // A top-level window of this class in the program's process, or null after `ms`.
  HWND FindWindowOfClass(const char* className, DWORD ms = 0) const;
  // Closes every tool window the program shows, through its Exit button.
  void CloseToolWindows();
  // Ends any other copy of the program that shows its tray form within `ms`: the helper starts
  // one from its folder at every attach, and one that starts just after this copy has ended
  // stays.
  static void EndStrayCopies(DWORD ms);

 private:
  bool Launch(const std::string& exePath, const vexbane::testing::ScopedProductKey& key);
  bool RoundTrip();
  HWND OpenMessageBox() const;

  PROCESS_INFORMATION m_process = {};
  HWND m_form = nullptr;
  HWND m_cmdForm = nullptr;
  HWND m_reply = nullptr;
  const vexbane::testing::ScopedProductKey* m_key = nullptr;
  std::vector<Notice> m_notices;
};

// Text of a list box item of another process (read through the wide message, which Wine and
// Windows both marshal between processes).
std::string ListBoxItem(HWND list, int index);
std::vector<std::string> ListBoxItems(HWND list);

// Runs the stand-in browser on a scenario; its report lines, or nothing when it did not finish.
std::optional<std::string> RunBrowser(const std::string& scenario, const std::string& folder);

}  // namespace vexbane::faults
