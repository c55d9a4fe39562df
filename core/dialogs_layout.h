// Screen arithmetic of the tray program's dialogs: twips and pixels, window regions, message-box placement and layout.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace vexbane::dialogs {

inline constexpr double kTwipsPerInch = 1440.0;

struct TwipRect {
  int32_t left;
  int32_t top;
  int32_t width;
  int32_t height;
};

struct PixelRect {
  int left;
  int top;
  int width;
  int height;
};

struct PixelSize {
  int width;
  int height;
};

struct TwipPoint {
  int32_t left;
  int32_t top;
};

// Twips per pixel for a screen of this many dots per inch; a screen that reports no resolution
// is taken as the common 96 dots per inch.
double TwipsPerPixel(int dotsPerInch);

// Twips to whole pixels and back, nearest whole number, halves to even.
int TwipsToPixels(double twips, double twipsPerPixel);
int32_t PixelsToTwips(int pixels, double twipsPerPixel);
PixelRect ToPixels(const TwipRect& rect, double twipsPerPixelX, double twipsPerPixelY);

// The rounded window region's size: the background picture's size in pixels plus one, each
// rounded to the nearest whole pixel (an exact half to the even neighbour).
PixelSize RegionSize(int32_t pictureWidthTwips, int32_t pictureHeightTwips, double twipsPerPixelX,
                     double twipsPerPixelY);
// Both corners of the region are rounded with an ellipse of this size, in pixels.
inline constexpr int kRegionCornerEllipse = 6;

// Where a message box opens over its owner: a tenth of the owner's width in from its left edge,
// a fifth of its height down from its top edge, rounded to the nearest whole twip.
TwipPoint MessageBoxPlacement(const TwipRect& owner);

// A message shorter than this many characters sits a quarter of its label's height lower, so
// that one line of text stands in the middle of the box.
inline constexpr size_t kShortMessageLength = 50;
int32_t MessageLabelTop(std::string_view text, int32_t designTop, int32_t designHeight);

// Captions and visibility of the message box's two buttons for a button-set name.
struct ButtonSet {
  std::string yesCaption;
  std::string noCaption;
  bool yesVisible;
  bool noVisible;
};
// "Ok", "YesNo" and "NoYes" are matched exactly (letter case counts); any other name leaves the
// designed captions "Yes" and "No" with both buttons showing.
ButtonSet ButtonsFor(std::string_view buttonSetName);

}  // namespace vexbane::dialogs
