// Twips and pixels: the window lays itself out in twips (1/1440 inch); the
// screen says how many twips make one pixel in each direction. The window
// and the desktop code both convert through here.
#pragma once

#include <cstdint>

namespace fader {

struct TwipsPerPixel {
  double x;
  double y;
};

// Twips per pixel at 96 dots per inch, the screen the design's pixel sizes
// are given for.
inline constexpr double kTwipsPerPixelAt96Dpi = 15.0;

// Nearest integer, ties to even, range-checked into 32 bits (OverflowError
// for NaN, infinities and anything outside).
std::int32_t RoundToInt32(double value);

// Number of whole pixels in a length in twips: the quotient rounded as
// RoundToInt32 does. Throws OverflowError when the factor is not positive or
// the result does not fit 32 bits.
std::int32_t TwipsToPixels(double twips, double twips_per_pixel);

// Pixels to twips as the window reports positions: a 32-bit float.
float PixelsToTwips(std::int32_t pixels, double twips_per_pixel);

// Where a mouse message puts the pointer: x in the low word of lParam and y in
// the high word, each a signed 16-bit pixel coordinate, times twips per
// pixel in its direction. A tray notification that arrives as a mouse move
// carries the mouse message number in the low word, so 515 comes out as
// 515 * twips per pixel.
void DecodeMousePosition(std::uint32_t lparam, TwipsPerPixel twips_per_pixel, float& x, float& y);

// The dots per inch the window is laid out at: the screen's, brought into
// 96 (100 %) to 480 (500 %), the scales Windows offers. A screen that reports
// none or an absurd number (0, 1, 4800) gets the nearest of those.
inline constexpr int kMinDpi = 96;
inline constexpr int kMaxDpi = 480;
int SaneDpi(int dots_per_inch);

// The screen's twips per pixel at a number of dots per inch: 1440 / dpi, the
// dpi brought into range by SaneDpi first (15 at 96, 7.5 at 192).
double TwipsPerPixelForDpi(int dots_per_inch);

}  // namespace fader
