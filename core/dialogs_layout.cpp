// Screen arithmetic of the tray program's dialogs.
#include "dialogs_layout.h"

#include "text.h"

namespace vexbane::dialogs {
namespace {
constexpr int kFallbackDotsPerInch = 96;
}  // namespace

double TwipsPerPixel(int dotsPerInch) {
  if (dotsPerInch <= 0) dotsPerInch = kFallbackDotsPerInch;
  return kTwipsPerInch / dotsPerInch;
}

int TwipsToPixels(double twips, double twipsPerPixel) {
  return static_cast<int>(RoundHalfEven(twips / twipsPerPixel));
}

int32_t PixelsToTwips(int pixels, double twipsPerPixel) {
  return static_cast<int32_t>(RoundHalfEven(pixels * twipsPerPixel));
}

PixelRect ToPixels(const TwipRect& rect, double twipsPerPixelX, double twipsPerPixelY) {
  return {TwipsToPixels(rect.left, twipsPerPixelX), TwipsToPixels(rect.top, twipsPerPixelY),
          TwipsToPixels(rect.width, twipsPerPixelX), TwipsToPixels(rect.height, twipsPerPixelY)};
}

PixelSize RegionSize(int32_t pictureWidthTwips, int32_t pictureHeightTwips, double twipsPerPixelX,
                     double twipsPerPixelY) {
  return {static_cast<int>(RoundHalfEven(pictureWidthTwips / twipsPerPixelX + 1)),
          static_cast<int>(RoundHalfEven(pictureHeightTwips / twipsPerPixelY + 1))};
}

TwipPoint MessageBoxPlacement(const TwipRect& owner) {
  return {static_cast<int32_t>(RoundHalfEven(owner.left + owner.width / 10.0)),
          static_cast<int32_t>(RoundHalfEven(owner.top + owner.height / 5.0))};
}

int32_t MessageLabelTop(std::string_view text, int32_t designTop, int32_t designHeight) {
  if (text.size() >= kShortMessageLength) return designTop;
  return static_cast<int32_t>(RoundHalfEven(designTop + designHeight / 4.0));
}

ButtonSet ButtonsFor(std::string_view buttonSetName) {
  if (buttonSetName == "Ok") return {"Ok", "No", true, false};
  if (buttonSetName == "NoYes") return {"No", "Yes", true, true};
  return {"Yes", "No", true, true};
}

}  // namespace vexbane::dialogs
