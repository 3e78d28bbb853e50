#include "base/twips.h"

#include <cmath>

#include "base/overflow_error.h"

namespace fader {

std::int32_t RoundToInt32(double value) {
  // nearbyint keeps the default rounding mode: ties go to the even neighbour.
  const double r = std::nearbyint(value);
  // The negated comparisons also turn NaN away.
  if (!(r >= -2147483648.0) || !(r <= 2147483647.0)) {
    throw OverflowError("value does not fit a 32-bit integer");
  }
  return static_cast<std::int32_t>(r);
}

std::int32_t TwipsToPixels(double twips, double twipsPerPixel) {
  if (!(twipsPerPixel > 0.0)) throw OverflowError("twips per pixel must be positive");
  return RoundToInt32(twips / twipsPerPixel);
}

float PixelsToTwips(std::int32_t pixels, double twipsPerPixel) {
  return static_cast<float>(static_cast<double>(pixels) * twipsPerPixel);
}

double TwipsPerPixelForDpi(int dotsPerInch) {
  if (dotsPerInch <= 0) throw OverflowError("dots per inch must be positive");
  return 1440.0 / dotsPerInch;
}

}  // namespace fader
