// Expanding a stored bitmap resource into a DIB section.
#include "win/bitmap_resource.h"

namespace vexbane::win {

UniqueBitmap LoadBitmapResource(HMODULE module, int id) {
  HRSRC found = ::FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(2) /* RT_BITMAP */);
  if (!found) return UniqueBitmap();
  HGLOBAL loaded = ::LoadResource(module, found);
  const auto* packed = loaded ? static_cast<const BITMAPINFO*>(::LockResource(loaded)) : nullptr;
  if (!packed || ::SizeofResource(module, found) < sizeof(BITMAPINFOHEADER)) return UniqueBitmap();
  const BITMAPINFOHEADER& header = packed->bmiHeader;
  if (header.biSize < sizeof(BITMAPINFOHEADER) || header.biWidth <= 0 || header.biHeight == 0) return UniqueBitmap();

  // The bits follow the header and the colour table.
  DWORD colours = header.biClrUsed;
  if (colours == 0 && header.biBitCount <= 8) colours = 1u << header.biBitCount;
  if (header.biCompression == BI_BITFIELDS) colours = 3;
  const BYTE* bits = reinterpret_cast<const BYTE*>(packed) + header.biSize + colours * sizeof(RGBQUAD);

  BITMAPINFO full = {};
  full.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  full.bmiHeader.biWidth = header.biWidth;
  full.bmiHeader.biHeight = header.biHeight;
  full.bmiHeader.biPlanes = 1;
  full.bmiHeader.biBitCount = 24;
  full.bmiHeader.biCompression = BI_RGB;
  HDC screen = ::GetDC(nullptr);
  if (!screen) return UniqueBitmap();
  void* pixels = nullptr;
  UniqueBitmap bitmap(::CreateDIBSection(screen, &full, DIB_RGB_COLORS, &pixels, nullptr, 0));
  const LONG rows = header.biHeight < 0 ? -header.biHeight : header.biHeight;
  if (bitmap && ::SetDIBits(screen, bitmap.get(), 0, static_cast<UINT>(rows), bits, packed, DIB_RGB_COLORS) == 0)
    bitmap.reset();
  ::ReleaseDC(nullptr, screen);
  return bitmap;
}

}  // namespace vexbane::win
