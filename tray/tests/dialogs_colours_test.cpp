// Text on the tool windows' fixed light grey lists and boxes is dark in every colour scheme:
// the colours each window procedure puts into a control's device context, read back.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <utility>

#include "ModTray.h"
#include "ToolWindows.h"
#include "dialogs_helpers.h"
#include "frmPopupAdvanced.h"
#include "frmPopupCookie.h"
#include "frmRecentBlocked.h"

namespace vexbane::tray {
namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kGrey = RGB(224, 224, 224);

// The system colours of a dark scheme as High Contrast Black sets them, put back afterwards.
class DarkScheme {
 public:
  DarkScheme() {
    for (int i = 0; i < 2; ++i) m_saved[i] = ::GetSysColor(kElements[i]);
    const COLORREF dark[2] = {kWhite, RGB(0, 0, 0)};
    m_set = ::SetSysColors(2, kElements, dark) != FALSE;
  }
  ~DarkScheme() {
    if (m_set) ::SetSysColors(2, kElements, m_saved);
  }
  bool set() const { return m_set; }

 private:
  static constexpr int kElements[2] = {COLOR_WINDOWTEXT, COLOR_WINDOW};
  COLORREF m_saved[2] = {};
  bool m_set = false;
};

// A device context that starts with the dark scheme's white text, as a control's would.
class WhiteTextDc {
 public:
  WhiteTextDc() : m_dc(::CreateCompatibleDC(nullptr)) {
    m_bitmap = ::CreateCompatibleBitmap(m_screen, 400, 40);
    m_old = ::SelectObject(m_dc, m_bitmap);
    ::SetTextColor(m_dc, kWhite);
  }
  ~WhiteTextDc() {
    ::SelectObject(m_dc, m_old);
    ::DeleteObject(m_bitmap);
    ::DeleteDC(m_dc);
    ::ReleaseDC(nullptr, m_screen);
  }
  HDC get() const { return m_dc; }

 private:
  HDC m_screen = ::GetDC(nullptr);
  HDC m_dc;
  HBITMAP m_bitmap = nullptr;
  HGDIOBJ m_old = nullptr;
};

// What the form's window procedure leaves in a fresh device context for `msg` from `control`.
struct Answer {
  COLORREF text;
  COLORREF back;
  bool brush;
};
Answer ColoursFor(HWND form, UINT msg, HWND control) {
  WhiteTextDc dc;
  LRESULT brush = ::SendMessageA(form, msg, reinterpret_cast<WPARAM>(dc.get()), reinterpret_cast<LPARAM>(control));
  return {::GetTextColor(dc.get()), ::GetBkColor(dc.get()), brush != 0};
}

class DialogColours : public ::testing::Test {
 protected:
  // Recently Blocked shows the counts of the program's own clock (a suite before may have left
  // its stand-in clock, gone since, in the module).
  void SetUp() override { Module().blockTally = blocks::BlockTally(LocalClock()); }
  void TearDown() override { UnloadToolWindows(); }
  static HWND Open(void (*command)(HWND), const char* className) {
    command(nullptr);
    return testing::FindOwnWindow(className);
  }
  testing::ScopedAppFolder m_app;
};

TEST_F(DialogColours, TheEditorsListAndBoxGetDarkTextOnTheirGrey) {
  const std::pair<void (*)(HWND), const char*> editors[] = {
      {&mnuWhiteList_Click, frmPopupAdvanced::kClassName},
      {&mnuBlockedHosts_Click, frmPopupAdvanced::kBlockedHostsClassName}};
  for (const auto& [command, className] : editors) {
    HWND form = Open(command, className);
    ASSERT_NE(nullptr, form) << className;
    const Answer list = ColoursFor(form, WM_CTLCOLORLISTBOX, ::GetDlgItem(form, frmPopupAdvanced::lstURL));
    EXPECT_EQ(kListTextColour, list.text);
    EXPECT_EQ(kGrey, list.back);
    EXPECT_TRUE(list.brush);
    const Answer box = ColoursFor(form, WM_CTLCOLOREDIT, ::GetDlgItem(form, frmPopupAdvanced::txtWebSite));
    EXPECT_EQ(kListTextColour, box.text);
    EXPECT_EQ(kGrey, box.back);
    UnloadToolWindows();
  }
}

TEST_F(DialogColours, TheCookieListAndItsEmptyTextAreDarkOnGrey) {
  HWND form = Open(&mnuCookie_Click, frmPopupCookie::kClassName);
  ASSERT_NE(nullptr, form);
  HWND list = ::GetDlgItem(form, frmPopupCookie::lstCookie);
  EXPECT_EQ(kListTextColour, static_cast<COLORREF>(::SendMessageA(list, LVM_GETTEXTCOLOR, 0, 0)));
  EXPECT_EQ(kGrey, static_cast<COLORREF>(::SendMessageA(list, LVM_GETTEXTBKCOLOR, 0, 0)));
  const Answer empty = ColoursFor(form, WM_CTLCOLORSTATIC, ::GetDlgItem(form, frmPopupCookie::lblNoCookies));
  EXPECT_EQ(kListTextColour, empty.text);
  EXPECT_EQ(kGrey, empty.back);
  EXPECT_TRUE(empty.brush);
}

// A control on the picture keeps one brush; its colours go into every device context it asks
// with, not only the first.
TEST_F(DialogColours, ACheckBoxOnThePictureGetsItsColoursEveryTime) {
  HWND form = Open(&mnuCookie_Click, frmPopupCookie::kClassName);
  ASSERT_NE(nullptr, form);
  HWND check = ::GetDlgItem(form, frmPopupCookie::chkAutoClean);
  const Answer first = ColoursFor(form, WM_CTLCOLORSTATIC, check);
  const Answer second = ColoursFor(form, WM_CTLCOLORSTATIC, check);
  EXPECT_NE(kWhite, first.text);
  EXPECT_EQ(first.text, second.text);
  EXPECT_EQ(first.back, second.back);
}

TEST_F(DialogColours, RecentlyBlockedRowsAreDarkOnGreyUnderADarkScheme) {
  DarkScheme scheme;
  ASSERT_TRUE(scheme.set());
  HWND form = Open(&mnuRecentBlocked_Click, frmRecentBlocked::kClassName);
  ASSERT_NE(nullptr, form);
  HWND list = ::GetDlgItem(form, frmRecentBlocked::lstBlocks);
  const Answer back = ColoursFor(form, WM_CTLCOLORLISTBOX, list);
  EXPECT_EQ(kListTextColour, back.text);
  EXPECT_EQ(kGrey, back.back);

  ::SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("10:00\tsite.example\t\tnew window\tno click"));
  WhiteTextDc dc;
  DRAWITEMSTRUCT item = {};
  item.CtlType = ODT_LISTBOX;
  item.CtlID = frmRecentBlocked::lstBlocks;
  item.itemID = 0;
  item.itemAction = ODA_DRAWENTIRE;
  item.hwndItem = list;
  item.hDC = dc.get();
  item.rcItem = {0, 0, 400, 20};
  ::SendMessageA(form, WM_DRAWITEM, frmRecentBlocked::lstBlocks, reinterpret_cast<LPARAM>(&item));
  EXPECT_EQ(kListTextColour, ::GetTextColor(dc.get())) << "not the scheme's white window text";
  EXPECT_EQ(kGrey, ::GetPixel(dc.get(), 1, 1)) << "the row's grey";

  item.itemState = ODS_SELECTED;
  ::SendMessageA(form, WM_DRAWITEM, frmRecentBlocked::lstBlocks, reinterpret_cast<LPARAM>(&item));
  EXPECT_EQ(::GetSysColor(COLOR_HIGHLIGHTTEXT), ::GetTextColor(dc.get())) << "a selected row keeps the scheme's pair";
}

}  // namespace
}  // namespace vexbane::tray
