// Fitting a host into a narrow column so that its end, the part that names the site, stays whole.
#pragma once
#include <functional>
#include <string>
#include <string_view>

namespace vexbane::text {

// What the drawing side measures: the width of a text in the column's font (pixels).
using TextWidth = std::function<int(std::string_view)>;

inline constexpr char kStartEllipsis[] = "...";

// `text` itself when it is at most `width` wide; otherwise "..." followed by the longest end of
// `text` that fits with it: "www.bank.example.ads.example" in a narrow column reads
// "...ample.ads.example", never "www.bank...". The cut falls only after a byte below 0x80, so a
// double-byte character of an ANSI code page is never split. "..." alone when not even one
// more character fits; "" when not even that does.
std::string FitKeepingEnd(std::string_view text, int width, const TextWidth& measure);

}  // namespace vexbane::text
