#include "window/skin_pixels.h"

#include <stdexcept>

namespace fader {

void CompositeOver(std::span<const std::uint8_t> src, std::int32_t background, std::span<std::uint8_t> out) {
  if (src.size() != out.size() || src.size() % 4 != 0) {
    throw std::invalid_argument("pixel buffers differ in size");
  }
  const auto bg = static_cast<std::uint32_t>(background);
  const unsigned bg_bgr[3] = {(bg >> 16) & 0xFFu, (bg >> 8) & 0xFFu, bg & 0xFFu};
  for (std::size_t i = 0; i < src.size(); i += 4) {
    const unsigned a = src[i + 3];
    for (std::size_t c = 0; c < 3; ++c) {
      const unsigned s = src[i + c];
      if (s > a) throw std::invalid_argument("pixel is not premultiplied");
      // s + bg * (255 - a) / 255, rounded to nearest; never above 255 since s <= a.
      out[i + c] = static_cast<std::uint8_t>(s + (bg_bgr[c] * (255u - a) + 127u) / 255u);
    }
    out[i + 3] = 255;
  }
}

}  // namespace fader
