// Twips and pixels: the window lays itself out in twips (1/1440 inch); the
// screen says how many twips make one pixel in each direction.
#pragma once

#include <cstdint>

namespace fader {

struct TwipsPerPixel {
  double x;
  double y;
};

// Number of whole pixels in a length in twips: the quotient rounded to the
// nearest integer, a half going to the even neighbour. Throws OverflowError
// when the quotient is not a finite value within 32 bits (a factor of 0
// gives an infinite one).
std::int32_t TwipsToPixels(double twips, double twipsPerPixel);

namespace desktop_detail {
// Nearest integer, ties to even, range-checked into 32 bits (OverflowError
// for NaN, infinities and anything outside).
std::int32_t RoundToInt32(double value);
}  // namespace desktop_detail

}  // namespace fader
