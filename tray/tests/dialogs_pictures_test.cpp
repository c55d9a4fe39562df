// The dialogs' pictures as stored (run-length encoded palette bitmaps) come out whole and true.
#include <windows.h>

#include <cstdlib>

#include <gtest/gtest.h>

#include "dialogs_resources.h"
#include "win/bitmap_resource.h"

namespace vexbane::tray {
namespace {

struct Picture {
  int id;
  LONG width;
  LONG height;
  LONG band;  // rows of the title band
};

// Colour of the pixel at (x, y) from the top of a bottom-up 24-bit section.
COLORREF PixelAt(const DIBSECTION& dib, LONG x, LONG y) {
  const auto* bits = static_cast<const BYTE*>(dib.dsBm.bmBits);
  const BYTE* p = bits + (dib.dsBm.bmHeight - 1 - y) * dib.dsBm.bmWidthBytes + x * 3;
  return RGB(p[2], p[1], p[0]);
}

bool Near(COLORREF a, COLORREF b, int tolerance) {
  return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
         std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

TEST(DialogPictures, ExpandIntoFullColourSectionsOfTheirDrawnSize) {
  const COLORREF frame = RGB(30, 60, 104), bandEdge = RGB(150, 186, 228);
  const COLORREF bodyTop = RGB(246, 249, 253), bodyBottom = RGB(214, 226, 241);
  for (const Picture& p : {Picture{IDB_ADVANCED_BACK, 530, 335, 52}, Picture{IDB_COOKIE_BACK, 530, 335, 52},
                           Picture{IDB_MESSAGE_BACK, 332, 188, 40}}) {
    SCOPED_TRACE(p.id);
    win::UniqueBitmap bitmap = win::LoadBitmapResource(::GetModuleHandleA(nullptr), p.id);
    ASSERT_TRUE(bitmap);
    DIBSECTION dib = {};
    ASSERT_EQ(::GetObjectA(bitmap.get(), sizeof dib, &dib), static_cast<int>(sizeof dib));
    EXPECT_EQ(dib.dsBm.bmWidth, p.width);
    EXPECT_EQ(dib.dsBm.bmHeight, p.height);
    EXPECT_EQ(dib.dsBm.bmBitsPixel, 24);
    ASSERT_NE(dib.dsBm.bmBits, nullptr);
    // The frame all round, the edge under the band, the body's gradient from top to bottom.
    for (LONG x : {0L, p.width / 2, p.width - 1}) {
      EXPECT_EQ(PixelAt(dib, x, 0), frame);
      EXPECT_EQ(PixelAt(dib, x, p.height - 1), frame);
    }
    for (LONG y : {0L, p.height / 2, p.height - 1}) EXPECT_EQ(PixelAt(dib, p.width - 1, y), frame);
    EXPECT_EQ(PixelAt(dib, 1, p.band), bandEdge);
    EXPECT_TRUE(Near(PixelAt(dib, p.width / 2, p.band + 2), bodyTop, 2));
    EXPECT_TRUE(Near(PixelAt(dib, p.width / 2, p.height - 2), bodyBottom, 2));
    const COLORREF band = PixelAt(dib, 10, p.band / 2);
    EXPECT_GT(GetBValue(band), GetRValue(band) + 60) << "deep blue title band";
  }
}

TEST(DialogPictures, MissingResourceGivesNoBitmap) {
  EXPECT_FALSE(win::LoadBitmapResource(::GetModuleHandleA(nullptr), 9999));
}

}  // namespace
}  // namespace vexbane::tray
