// Bitmap resources expanded into full-colour DIB sections, whatever their stored compression.
#pragma once
#include <windows.h>

#include "win/unique.h"

namespace vexbane::win {

// The module's BITMAP resource `id` as a 24-bit DIB section of the same size. The resource may
// be a palette bitmap compressed with BI_RLE8 or BI_RLE4: SetDIBits expands it (on every
// system of the floor), which CreateDIBSection itself will not take. Empty on failure.
UniqueBitmap LoadBitmapResource(HMODULE module, int id);

}  // namespace vexbane::win
