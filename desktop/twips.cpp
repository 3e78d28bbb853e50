#include "desktop/twips.h"

#include <cmath>

#include "render/fade.h"

namespace fader {
namespace desktop_detail {

std::int32_t RoundToInt32(double value) {
  // nearbyint keeps the default rounding mode: ties go to the even neighbour.
  const double r = std::nearbyint(value);
  // The negated comparisons also turn NaN away.
  if (!(r >= -2147483648.0) || !(r <= 2147483647.0)) {
    throw OverflowError("value does not fit a 32-bit integer");
  }
  return static_cast<std::int32_t>(r);
}

}  // namespace desktop_detail

std::int32_t TwipsToPixels(double twips, double twipsPerPixel) {
  return desktop_detail::RoundToInt32(twips / twipsPerPixel);
}

}  // namespace fader
