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

// The screen's twips per pixel for a given number of dots per inch (1440 /
// dpi). Throws OverflowError for a dpi of 0 or less.
double TwipsPerPixelForDpi(int dots_per_inch);

}  // namespace fader
