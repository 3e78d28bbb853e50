#include "base/twips.h"

#include <algorithm>
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

std::int32_t TwipsToPixels(double twips, double twips_per_pixel) {
  if (!(twips_per_pixel > 0.0)) throw OverflowError("twips per pixel must be positive");
  return RoundToInt32(twips / twips_per_pixel);
}

float PixelsToTwips(std::int32_t pixels, double twips_per_pixel) {
  return static_cast<float>(static_cast<double>(pixels) * twips_per_pixel);
}

void DecodeMousePosition(std::uint32_t lparam, TwipsPerPixel tpp, float& x, float& y) {
  const auto low = static_cast<std::int16_t>(static_cast<std::uint16_t>(lparam & 0xFFFFu));
  const auto high = static_cast<std::int16_t>(static_cast<std::uint16_t>((lparam >> 16) & 0xFFFFu));
  x = PixelsToTwips(low, tpp.x);
  y = PixelsToTwips(high, tpp.y);
}

int SaneDpi(int dots_per_inch) { return std::clamp(dots_per_inch, kMinDpi, kMaxDpi); }

double TwipsPerPixelForDpi(int dots_per_inch) { return 1440.0 / SaneDpi(dots_per_inch); }

}  // namespace fader
