// The setup window's pages: welcome, folder, progress and the last page; each a child window of
// the setup window holding its own controls.
#pragma once
#include <windows.h>

#include <string>

#include "core/setup_steps.h"
#include "win/window.h"

namespace vexbane::setup {

// The pages' area inside the setup window.
inline constexpr int kPageLeft = 20, kPageTop = 72, kPageWidth = 440, kPageHeight = 200;

class SetupPage : public win::Window {
 public:
  // Creates the page, hidden, in the setup window.
  bool Create(HWND frame, HFONT font);
  // The banner's two lines while the page shows.
  virtual const char* Title() const noexcept = 0;
  virtual const char* Subtitle() const noexcept = 0;

 protected:
  virtual void OnCreate() noexcept = 0;
  HWND Control(const char* cls, const char* text, DWORD style, int x, int y, int width, int height, int id = 0,
               DWORD exStyle = 0) noexcept;
  HFONT m_font = nullptr;
};

class WelcomePage final : public SetupPage {
 public:
  const char* Title() const noexcept override { return "Welcome to Vexbane 5.0 Setup"; }
  const char* Subtitle() const noexcept override { return "The pop-up blocker for Internet Explorer"; }

 protected:
  void OnCreate() noexcept override;
};

class FolderPage final : public SetupPage {
 public:
  FolderPage(std::string folder, int autoClean) : m_folder(std::move(folder)), m_autoClean(autoClean) {}
  const char* Title() const noexcept override { return "Choose the folder and the cookie cleaning"; }
  const char* Subtitle() const noexcept override { return "Where Vexbane goes, and what it does with cookies"; }
  // The folder as typed, trimmed of spaces and a trailing backslash.
  std::string Folder() const;
  int AutoClean() const noexcept;

 protected:
  void OnCreate() noexcept override;
  LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) noexcept override;

 private:
  void Browse() noexcept;
  std::string m_folder;
  int m_autoClean;
  HWND m_edit = nullptr;
  HWND m_check = nullptr;
};

class ProgressPage final : public SetupPage, public SetupProgress {
 public:
  const char* Title() const noexcept override { return "Installing"; }
  const char* Subtitle() const noexcept override { return "Please wait while Vexbane 5.0 is installed"; }
  void Starting(size_t index, size_t count, const SetupStep& step) noexcept override;

 protected:
  void OnCreate() noexcept override;

 private:
  HWND m_step = nullptr;
  HWND m_bar = nullptr;
};

class FinishPage final : public SetupPage {
 public:
  const char* Title() const noexcept override { return m_title.c_str(); }
  const char* Subtitle() const noexcept override { return m_subtitle.c_str(); }
  void Say(std::string title, std::string subtitle, const std::string& text) noexcept;

 protected:
  void OnCreate() noexcept override;

 private:
  std::string m_title;
  std::string m_subtitle;
  HWND m_text = nullptr;
};

}  // namespace vexbane::setup
