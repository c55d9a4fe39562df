// Fitting a host into a column by cutting its start.
#include "text_fit.h"

#include <vector>

namespace vexbane::text {

std::string FitKeepingEnd(std::string_view text, int width, const TextWidth& measure) {
  if (measure(text) <= width) return std::string(text);
  std::string ellipsis(kStartEllipsis);
  if (measure(ellipsis) > width) return std::string();
  // Where a cut may start the kept end: after a single-byte character or a trail byte.
  std::vector<size_t> cuts;
  for (size_t i = 1; i < text.size(); ++i)
    if (static_cast<unsigned char>(text[i - 1]) < 0x80) cuts.push_back(i);
  // The kept end shrinks as the cut moves right, and so does its width: the first cut that
  // fits keeps the most.
  size_t low = 0, high = cuts.size();
  while (low < high) {
    const size_t mid = low + (high - low) / 2;
    if (measure(ellipsis + std::string(text.substr(cuts[mid]))) <= width)
      high = mid;
    else
      low = mid + 1;
  }
  if (low == cuts.size()) return ellipsis;
  return ellipsis + std::string(text.substr(cuts[low]));
}

}  // namespace vexbane::text
