// The common chrome of the tray program's dialogs: picture face, rounded region, dragging, labels, fonts and colours.
#pragma once
#include <windows.h>

#include <new>
#include <string>
#include <utility>
#include <vector>

#include "core/dialogs_layout.h"
#include "win/unique.h"
#include "win/window.h"

namespace vexbane::tray {

// Twips per pixel of the screen the dialogs open on, read from the system each time.
struct ScreenRatio {
  double x = 15.0;
  double y = 15.0;
  static ScreenRatio Current() noexcept;
};

// The dark text of the light grey lists and boxes. Fixed like their grey, rather than the
// system's window text: a dark scheme (High Contrast Black) would give white on the grey.
inline constexpr COLORREF kListTextColour = RGB(22, 38, 66);

enum class LabelLook {
  Title,        // white bold text with a dark shadow, on the title band
  TitleShadow,  // the shadow behind a title, one pixel down and right
  Body,         // dark text on the body of the picture
  Message,      // the message box's text: wraps, shows "&" as it stands
};

// A borderless window whose whole face is a background picture. Subclasses add their controls
// and handle their commands; this class paints, cuts the region and moves the window.
class DialogForm : public win::Window {
 public:
  // The form's window region is cut from the picture's size by this rule; exposed for tests.
  static dialogs::PixelSize RegionSizeFor(const dialogs::TwipRect& imgBack) noexcept;

 protected:
  struct Design {
    const char* className;
    int pictureId;
    int titlePoints;  // size of the title font
    dialogs::TwipRect client;
    dialogs::TwipRect imgBack;
  };

  // Creates the hidden window at (left, top) twips with the picture face; false on failure.
  bool CreateForm(const Design& design, HWND owner, int32_t leftTwips, int32_t topTwips,
                  DWORD exStyle) noexcept;

  // Child controls, placed in twips. Controls that take the keyboard are created in tab order.
  HWND AddLabel(int id, const char* text, const dialogs::TwipRect& rect, LabelLook look, bool movesForm) noexcept;
  HWND AddControl(const char* className, int id, const char* text, DWORD style, DWORD exStyle,
                  const dialogs::TwipRect& rect) noexcept;
  HWND Item(int id) const noexcept { return ::GetDlgItem(hwnd(), id); }
  void MoveControl(int id, const dialogs::TwipRect& rect) const noexcept;

  // The chrome's steps, in the order Form_Load runs them.
  void SetFormRegion() noexcept;
  void AddSystemMenuBit() const noexcept;

  // Control ids of the two title labels every tool window has.
  static constexpr int kToolTitleId = 10;
  static constexpr int kToolTitleBackId = 11;
  // The opening steps the tool windows share: the window at (left, top) twips with its picture
  // face, the rounded region, the system-menu bit and the title "Vexbane" with its shadow (only
  // the title moves the window). False when the window could not be made.
  bool OpenToolWindow(const Design& design, HWND owner, int32_t leftTwips, int32_t topTwips) noexcept;

  // Pressing any mouse button on the picture or on a title hands the window to the system's
  // move loop, as a press on a title bar would.
  static void MoveByMouse(HWND form) noexcept;

  // Sets the grey lists' and boxes' text and background colours into `dc` and gives the grey
  // brush: the answer to a WM_CTLCOLOR* message of a control drawn on the grey.
  LRESULT ListColours(HDC dc) const noexcept;

  const ScreenRatio& Ratio() const noexcept { return m_ratio; }
  HWND Owner() const noexcept { return ::GetWindow(hwnd(), GW_OWNER); }

  // The button that Enter presses while the keyboard is not on another push button: the
  // window's main one (0: none). Shown as the default button.
  virtual int MainButton() const noexcept { return 0; }
  // Which button Enter presses now: the push button that holds the keyboard, else MainButton.
  // The dialog manager asks this (DM_GETDEFID) for every Enter that IsDialogMessage sees.
  int EnterButton() const noexcept;
  // Gives the main button the default look; called once the controls exist.
  void MarkMainButton() const noexcept;
  // Gives `control` the keyboard, and back whenever the form is activated again.
  void FocusControl(HWND control) noexcept;

  virtual void OnCommand(int id, int code, HWND control) noexcept = 0;
  // Form_Unload: the window is being destroyed.
  virtual void OnUnload() noexcept {}

  LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) noexcept override;

 private:
  struct Label {
    int id;
    LabelLook look;
  };

  bool BuildFace(int pictureId) noexcept;
  void GrowToFit(HWND label, const char* text) const noexcept;
  RECT ControlPixels(HWND control) const noexcept;
  void OnPaint() noexcept;
  LRESULT OnDrawItem(const DRAWITEMSTRUCT& item) noexcept;
  LRESULT OnControlColour(UINT msg, HDC dc, HWND control) noexcept;
  bool InPicture(LPARAM clientPoint) const noexcept;
  void DrawLabelText(HDC dc, RECT rect, const std::string& text, LabelLook look) const noexcept;
  static LRESULT CALLBACK DragLabelProc(HWND label, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;

  ScreenRatio m_ratio;
  dialogs::TwipRect m_imgBack{};
  SIZE m_clientPixels{};
  win::UniqueBitmap m_face;  // the client area as painted: picture stretched over imgBack
  win::UniqueFont m_font;
  win::UniqueFont m_titleFont;
  win::UniqueBrush m_grey;
  std::vector<Label> m_labels;
  struct ControlBrush {
    HWND control;
    COLORREF colour;
    win::UniqueBrush brush;
  };
  std::vector<ControlBrush> m_controlBrushes;
  HWND m_lastFocus = nullptr;  // the control that held the keyboard when the form lost it
};

// Makes a modeless form, loads and shows it; the form deletes itself when its window goes.
// Returns the window, or null when it could not be made. Each form befriends this for its
// private constructor and Form_Load.
template <typename Form>
HWND ShowNewForm(HWND owner) noexcept {
  auto* form = new (std::nothrow) Form;
  if (!form) return nullptr;
  if (!form->Form_Load(owner)) {
    delete form;
    return nullptr;
  }
  return form->hwnd();
}

}  // namespace vexbane::tray
