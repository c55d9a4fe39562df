// The setup window: a banner, the page in force and the Back / Next / Cancel buttons.
#pragma once
#include <windows.h>

#include "SetupJob.h"
#include "SetupPages.h"
#include "win/unique.h"
#include "win/window.h"

namespace vexbane::setup {

class SetupWizard final : public win::Window {
 public:
  explicit SetupWizard(SetupJob& job);
  // Shows the window and runs it to its end. Returns the exit code.
  int Run() noexcept;

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) noexcept override;

 private:
  enum class Stage { Welcome, Folder, Installing, Finished };
  void Show(Stage stage) noexcept;
  void OnNext() noexcept;
  void OnCancel() noexcept;
  HWND Button(const char* text, int id, int x, DWORD style) noexcept;

  SetupJob& m_job;
  win::UniqueFont m_bold;
  HFONT m_font = nullptr;
  HWND m_title = nullptr;
  HWND m_subtitle = nullptr;
  HWND m_back = nullptr;
  HWND m_next = nullptr;
  HWND m_cancel = nullptr;
  WelcomePage m_welcome;
  FolderPage m_folder;
  ProgressPage m_progress;
  FinishPage m_finish;
  SetupPage* m_shown = nullptr;
  Stage m_stage = Stage::Welcome;
  int m_exitCode;
  bool m_ended = false;
};

}  // namespace vexbane::setup
