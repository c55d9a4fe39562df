// The common chrome of the tray program's dialogs.
#include "FormChrome.h"

#include "core/dialogs_forms.h"
#include "win/bitmap_resource.h"
#include "win/subclass.h"

namespace vexbane::tray {
namespace {

struct MemoryDcTraits {
  using Handle = HDC;
  static Handle Invalid() noexcept { return nullptr; }
  static void Close(Handle h) noexcept { ::DeleteDC(h); }
};
using UniqueMemoryDc = win::Unique<MemoryDcTraits>;

// Selects an object into a device context for the life of the scope.
class Selection {
 public:
  Selection(HDC dc, HGDIOBJ object) noexcept : m_dc(dc), m_old(object ? ::SelectObject(dc, object) : nullptr) {}
  ~Selection() {
    if (m_old) ::SelectObject(m_dc, m_old);
  }
  Selection(const Selection&) = delete;
  Selection& operator=(const Selection&) = delete;

 private:
  HDC m_dc;
  HGDIOBJ m_old;
};

constexpr COLORREF kFrameColour = RGB(30, 60, 104);
constexpr COLORREF kBodyText = RGB(22, 38, 66);
constexpr COLORREF kTitleText = RGB(255, 255, 255);
constexpr COLORREF kTitleShadow = RGB(12, 30, 60);
constexpr int kBodyPoints = 8;
constexpr char kTitleFace[] = "Tahoma";
constexpr char kBodyFace[] = "Tahoma";

HFONT MakeFont(const char* face, int points, int weight) noexcept {
  HDC screen = ::GetDC(nullptr);
  int height = -::MulDiv(points, screen ? ::GetDeviceCaps(screen, LOGPIXELSY) : 96, 72);
  if (screen) ::ReleaseDC(nullptr, screen);
  return ::CreateFontA(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, face);
}

std::string WindowText(HWND window) {
  int length = ::GetWindowTextLengthA(window);
  std::string text(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
  int got = ::GetWindowTextA(window, text.data(), static_cast<int>(text.size()));
  text.resize(got > 0 ? static_cast<size_t>(got) : 0);
  return text;
}

}  // namespace

ScreenRatio ScreenRatio::Current() noexcept {
  ScreenRatio ratio;
  HDC screen = ::GetDC(nullptr);
  if (!screen) return ratio;
  ratio.x = dialogs::TwipsPerPixel(::GetDeviceCaps(screen, LOGPIXELSX));
  ratio.y = dialogs::TwipsPerPixel(::GetDeviceCaps(screen, LOGPIXELSY));
  ::ReleaseDC(nullptr, screen);
  return ratio;
}

dialogs::PixelSize DialogForm::RegionSizeFor(const dialogs::TwipRect& imgBack) noexcept {
  ScreenRatio ratio = ScreenRatio::Current();
  return dialogs::RegionSize(imgBack.width, imgBack.height, ratio.x, ratio.y);
}

bool DialogForm::CreateForm(const Design& design, HWND owner, int32_t leftTwips, int32_t topTwips,
                            DWORD exStyle) noexcept {
  m_ratio = ScreenRatio::Current();
  m_imgBack = design.imgBack;
  dialogs::PixelRect client = dialogs::ToPixels(design.client, m_ratio.x, m_ratio.y);
  m_clientPixels = {client.width, client.height};
  m_font.reset(MakeFont(kBodyFace, kBodyPoints, FW_NORMAL));
  m_titleFont.reset(MakeFont(kTitleFace, design.titlePoints, FW_BOLD));
  m_grey.reset(::CreateSolidBrush(RGB(dialogs::kListGrey, dialogs::kListGrey, dialogs::kListGrey)));
  if (!BuildFace(design.pictureId)) return false;
  HWND form = CreateWindowFor(design.className, "Vexbane", WS_POPUP | WS_CLIPCHILDREN, exStyle,
                              dialogs::TwipsToPixels(leftTwips, m_ratio.x),
                              dialogs::TwipsToPixels(topTwips, m_ratio.y), client.width, client.height, owner);
  return form != nullptr;
}

bool DialogForm::BuildFace(int pictureId) noexcept {
  // The pictures are stored run-length encoded; they are expanded into a full-colour section.
  win::UniqueBitmap picture = win::LoadBitmapResource(win::ThisModule(), pictureId);
  HDC screen = ::GetDC(nullptr);
  if (!screen) return false;
  m_face.reset(::CreateCompatibleBitmap(screen, m_clientPixels.cx, m_clientPixels.cy));
  UniqueMemoryDc faceDc(::CreateCompatibleDC(screen));
  UniqueMemoryDc pictureDc(::CreateCompatibleDC(screen));
  ::ReleaseDC(nullptr, screen);
  if (!m_face || !faceDc || !pictureDc) return false;

  Selection faceSelection(faceDc.get(), m_face.get());
  RECT all = {0, 0, m_clientPixels.cx, m_clientPixels.cy};
  win::UniqueBrush frame(::CreateSolidBrush(kFrameColour));
  ::FillRect(faceDc.get(), &all, frame.get());
  dialogs::PixelRect back = dialogs::ToPixels(m_imgBack, m_ratio.x, m_ratio.y);
  BITMAP info = {};
  if (picture && ::GetObjectA(picture.get(), sizeof info, &info)) {
    Selection pictureSelection(pictureDc.get(), picture.get());
    ::SetStretchBltMode(faceDc.get(), HALFTONE);
    ::SetBrushOrgEx(faceDc.get(), 0, 0, nullptr);
    ::StretchBlt(faceDc.get(), back.left, back.top, back.width, back.height, pictureDc.get(), 0, 0, info.bmWidth,
                 info.bmHeight, SRCCOPY);
  }
  // The picture's own one-pixel frame blurs when it is scaled; a crisp line along the rounded
  // edge of the region replaces it.
  dialogs::PixelSize region = dialogs::RegionSize(m_imgBack.width, m_imgBack.height, m_ratio.x, m_ratio.y);
  win::UniqueRegion edge(::CreateRoundRectRgn(0, 0, region.width, region.height, dialogs::kRegionCornerEllipse,
                                              dialogs::kRegionCornerEllipse));
  if (edge) ::FrameRgn(faceDc.get(), edge.get(), frame.get(), 1, 1);
  return true;
}

HWND DialogForm::AddLabel(int id, const char* text, const dialogs::TwipRect& rect, LabelLook look,
                          bool movesForm) noexcept {
  // A shadow lies under its title: clipping it to what the title leaves uncovered keeps the
  // two from painting over each other in whatever order they are painted.
  DWORD style = WS_CHILD | WS_VISIBLE | SS_OWNERDRAW | SS_NOTIFY;
  if (look == LabelLook::TitleShadow) style |= WS_CLIPSIBLINGS;
  HWND label = AddControl("STATIC", id, text, style, 0, rect);
  if (!label) return nullptr;
  if (look == LabelLook::TitleShadow) {
    RECT r = ControlPixels(label);
    ::SetWindowPos(label, HWND_BOTTOM, r.left + 1, r.top + 1, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
  }
  try {
    m_labels.push_back({id, look});
  } catch (...) {
    // Out of memory: the label keeps the body look when it is painted.
  }
  if (look == LabelLook::Body) GrowToFit(label, text);
  if (movesForm) win::SubclassWindow(label, &DialogForm::DragLabelProc);
  return label;
}

void DialogForm::GrowToFit(HWND label, const char* text) const noexcept {
  // A system whose substitute for the dialog font runs wider than the designed one would cut a
  // label's last words off; the label grows downwards to hold the wrapped lines instead.
  RECT r = ControlPixels(label);
  RECT needed = {0, 0, r.right - r.left, 0};
  HDC dc = ::GetDC(label);
  if (!dc) return;
  {
    Selection font(dc, m_font.get());
    ::DrawTextA(dc, text, -1, &needed, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  }
  ::ReleaseDC(label, dc);
  if (needed.bottom > r.bottom - r.top)
    ::SetWindowPos(label, nullptr, 0, 0, r.right - r.left, needed.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

RECT DialogForm::ControlPixels(HWND control) const noexcept {
  RECT r = {};
  ::GetWindowRect(control, &r);
  ::MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

HWND DialogForm::AddControl(const char* className, int id, const char* text, DWORD style, DWORD exStyle,
                            const dialogs::TwipRect& rect) noexcept {
  dialogs::PixelRect px = dialogs::ToPixels(rect, m_ratio.x, m_ratio.y);
  HWND control = ::CreateWindowExA(exStyle, className, text, style, px.left, px.top, px.width, px.height, hwnd(),
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), win::ThisModule(), nullptr);
  if (control) ::SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(m_font.get()), FALSE);
  return control;
}

void DialogForm::MoveControl(int id, const dialogs::TwipRect& rect) const noexcept {
  dialogs::PixelRect px = dialogs::ToPixels(rect, m_ratio.x, m_ratio.y);
  ::MoveWindow(Item(id), px.left, px.top, px.width, px.height, TRUE);
}

void DialogForm::SetFormRegion() noexcept {
  dialogs::PixelSize size = dialogs::RegionSize(m_imgBack.width, m_imgBack.height, m_ratio.x, m_ratio.y);
  win::UniqueRegion region(::CreateRoundRectRgn(0, 0, size.width, size.height, dialogs::kRegionCornerEllipse,
                                                dialogs::kRegionCornerEllipse));
  if (!region) return;
  // Once accepted the region belongs to the window, which frees it when it goes.
  if (::SetWindowRgn(hwnd(), region.get(), TRUE)) region.release();
}

void DialogForm::AddSystemMenuBit() const noexcept {
  LONG_PTR style = ::GetWindowLongPtrA(hwnd(), GWL_STYLE);
  ::SetWindowLongPtrA(hwnd(), GWL_STYLE, style | WS_SYSMENU);
}

bool DialogForm::OpenToolWindow(const Design& design, HWND owner, int32_t leftTwips, int32_t topTwips) noexcept {
  if (!CreateForm(design, owner, leftTwips, topTwips, WS_EX_APPWINDOW)) return false;
  SetFormRegion();
  AddSystemMenuBit();
  AddLabel(kToolTitleId, "Vexbane", dialogs::kEditorTitle, LabelLook::Title, true);
  AddLabel(kToolTitleBackId, "Vexbane", dialogs::kEditorTitle, LabelLook::TitleShadow, false);
  return true;
}

int DialogForm::EnterButton() const noexcept {
  HWND focus = ::GetFocus();
  if (focus && ::GetParent(focus) == hwnd() &&
      (::SendMessageA(focus, WM_GETDLGCODE, 0, 0) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)))
    return ::GetDlgCtrlID(focus);
  return MainButton();
}

void DialogForm::MarkMainButton() const noexcept {
  if (HWND main = MainButton() ? Item(MainButton()) : nullptr) ::SendMessageA(main, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
}

void DialogForm::FocusControl(HWND control) noexcept {
  m_lastFocus = control;
  ::SetFocus(control);
}

void DialogForm::MoveByMouse(HWND form) noexcept {
  ::ReleaseCapture();
  ::SendMessageA(form, WM_NCLBUTTONDOWN, HTCAPTION, 0);
}

LRESULT CALLBACK DialogForm::DragLabelProc(HWND label, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      MoveByMouse(::GetParent(label));
      return 0;
  }
  return win::CallOriginalProc(label, msg, wParam, lParam);
}

bool DialogForm::InPicture(LPARAM clientPoint) const noexcept {
  dialogs::PixelRect back = dialogs::ToPixels(m_imgBack, m_ratio.x, m_ratio.y);
  int x = static_cast<short>(LOWORD(clientPoint));
  int y = static_cast<short>(HIWORD(clientPoint));
  return x >= back.left && x < back.left + back.width && y >= back.top && y < back.top + back.height;
}

LRESULT DialogForm::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_DRAWITEM:
      return OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
      return OnControlColour(msg, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      if (InPicture(lParam)) MoveByMouse(hwnd());  // imgBack_MouseDown
      return 0;
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
      return 0;
    case WM_DESTROY:
      OnUnload();
      return 0;
    case WM_ACTIVATE:
      // As the dialog manager does: the control that held the keyboard gets it back when the
      // form is activated again, rather than the form itself, where Tab and Enter lose track.
      if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = ::GetFocus();
        if (focus && ::IsChild(hwnd(), focus)) m_lastFocus = focus;
      }
      return Default(msg, wParam, lParam);
    case WM_SETFOCUS: {
      HWND to = m_lastFocus && ::IsChild(hwnd(), m_lastFocus) ? m_lastFocus : ::GetNextDlgTabItem(hwnd(), nullptr, FALSE);
      if (to) ::SetFocus(to);
      return 0;
    }
    case DM_GETDEFID: {
      // These windows are no dialog class: without an answer here the dialog manager turns
      // Enter into IDOK, whatever button holds the keyboard.
      const int id = EnterButton();
      return id ? MAKELRESULT(id, DC_HASDEFID) : 0;
    }
  }
  return Default(msg, wParam, lParam);
}

void DialogForm::OnPaint() noexcept {
  PAINTSTRUCT ps;
  HDC dc = ::BeginPaint(hwnd(), &ps);
  if (!dc) return;
  UniqueMemoryDc faceDc(::CreateCompatibleDC(dc));
  if (faceDc && m_face) {
    Selection selection(faceDc.get(), m_face.get());
    ::BitBlt(dc, ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right - ps.rcPaint.left,
             ps.rcPaint.bottom - ps.rcPaint.top, faceDc.get(), ps.rcPaint.left, ps.rcPaint.top, SRCCOPY);
  }
  ::EndPaint(hwnd(), &ps);
}

LRESULT DialogForm::OnDrawItem(const DRAWITEMSTRUCT& item) noexcept {
  if (item.CtlType != ODT_STATIC) return FALSE;
  LabelLook look = LabelLook::Body;
  for (const Label& label : m_labels) {
    if (label.id == static_cast<int>(item.CtlID)) look = label.look;
  }
  // The label has no background of its own: it shows the part of the face that it covers.
  POINT origin = {0, 0};
  ::MapWindowPoints(item.hwndItem, hwnd(), &origin, 1);
  UniqueMemoryDc faceDc(::CreateCompatibleDC(item.hDC));
  if (faceDc && m_face) {
    Selection selection(faceDc.get(), m_face.get());
    ::BitBlt(item.hDC, item.rcItem.left, item.rcItem.top, item.rcItem.right - item.rcItem.left,
             item.rcItem.bottom - item.rcItem.top, faceDc.get(), origin.x + item.rcItem.left,
             origin.y + item.rcItem.top, SRCCOPY);
  }
  DrawLabelText(item.hDC, item.rcItem, WindowText(item.hwndItem), look);
  return TRUE;
}

void DialogForm::DrawLabelText(HDC dc, RECT rect, const std::string& text, LabelLook look) const noexcept {
  bool title = look == LabelLook::Title || look == LabelLook::TitleShadow;
  Selection font(dc, title ? m_titleFont.get() : m_font.get());
  ::SetBkMode(dc, TRANSPARENT);
  UINT format = DT_LEFT | DT_TOP | DT_WORDBREAK | DT_NOPREFIX;
  if (look == LabelLook::Title) {
    RECT shadow = rect;
    ::OffsetRect(&shadow, 1, 1);
    ::SetTextColor(dc, kTitleShadow);
    ::DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &shadow, format);
  }
  ::SetTextColor(dc, look == LabelLook::Title ? kTitleText : look == LabelLook::TitleShadow ? kTitleShadow : kBodyText);
  ::DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &rect, format);
}

LRESULT DialogForm::ListColours(HDC dc) const noexcept {
  ::SetTextColor(dc, kListTextColour);
  ::SetBkColor(dc, RGB(dialogs::kListGrey, dialogs::kListGrey, dialogs::kListGrey));
  return reinterpret_cast<LRESULT>(m_grey.get());
}

LRESULT DialogForm::OnControlColour(UINT msg, HDC dc, HWND control) noexcept {
  if (msg == WM_CTLCOLOREDIT || msg == WM_CTLCOLORLISTBOX) return ListColours(dc);
  // A check box or other plain control on the picture takes the colour under its middle. The
  // colours go into the control's device context at every message: it may be a new one each time.
  for (const ControlBrush& known : m_controlBrushes) {
    if (known.control == control) {
      ::SetBkColor(dc, known.colour);
      ::SetTextColor(dc, kBodyText);
      return reinterpret_cast<LRESULT>(known.brush.get());
    }
  }
  COLORREF colour = RGB(236, 242, 249);
  UniqueMemoryDc faceDc(::CreateCompatibleDC(dc));
  if (faceDc && m_face) {
    Selection selection(faceDc.get(), m_face.get());
    RECT r = ControlPixels(control);
    colour = ::GetPixel(faceDc.get(), (r.left + r.right) / 2, (r.top + r.bottom) / 2);
  }
  ::SetBkColor(dc, colour);
  ::SetTextColor(dc, kBodyText);
  try {
    m_controlBrushes.push_back({control, colour, win::UniqueBrush(::CreateSolidBrush(colour))});
  } catch (...) {
    return reinterpret_cast<LRESULT>(m_grey.get());  // out of memory: the lists' grey for once
  }
  return reinterpret_cast<LRESULT>(m_controlBrushes.back().brush.get());
}

}  // namespace vexbane::tray
