// The benchmark's own helpers: the floors of the load and navigation rows.
#pragma once
#include <windows.h>

namespace vexbane::bench {

// A helper of the product's COM shape (IObjectWithSite, a DWebBrowserEvents2 sink advised to the
// browser) that does nothing else.
inline constexpr GUID kClsidDoNothingHelper = {0x5a1c0e10, 0x6d1b, 0x4f7e, {0x9a, 0x31, 0x1c, 0x44, 0x0b, 0x7e, 0x21, 0x01}};
// The same helper doing the work the product must do, plainly: at attach the frame check, the
// tray start, the two handle reads, the count's read-add-write under the count's mutex, the
// click time and the two thread hooks; at each visit the click time and the page address.
inline constexpr GUID kClsidPlainHelper = {0x5a1c0e10, 0x6d1b, 0x4f7e, {0x9a, 0x31, 0x1c, 0x44, 0x0b, 0x7e, 0x21, 0x02}};

inline constexpr char kHelperFile[] = "BenchHelper.dll";

}  // namespace vexbane::bench
