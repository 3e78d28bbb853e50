#include "window/skin_pixels.h"

#include <algorithm>
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

namespace {
std::size_t PixelBytes(int width, int height) {
  if (width < 0 || height < 0) throw std::invalid_argument("a picture of negative size");
  return static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4;
}
}  // namespace

void ScaleNearest(std::span<const std::uint8_t> in, int width, int height, std::span<std::uint8_t> out,
                  int to_width, int to_height) {
  if (in.size() != PixelBytes(width, height) || out.size() != PixelBytes(to_width, to_height)) {
    throw std::invalid_argument("pixel buffers do not hold their pictures");
  }
  if (in.empty() && !out.empty()) throw std::invalid_argument("nothing to scale up");
  // The centre of pixel x of the result, x + 1/2, lies over pixel
  // (x + 1/2) * from / to of the picture; one on the edge between two takes
  // the first, as ImageMagick's sampler does. In whole numbers, unrounded.
  auto source = [](int x, int from, int to) {
    return static_cast<std::size_t>(((2 * std::int64_t{x} + 1) * from - 1) / (2 * std::int64_t{to}));
  };
  for (int y = 0; y < to_height; ++y) {
    const std::size_t row = source(y, height, to_height) * static_cast<std::size_t>(width);
    for (int x = 0; x < to_width; ++x) {
      const auto from = in.begin() + static_cast<std::ptrdiff_t>((row + source(x, width, to_width)) * 4);
      std::copy_n(from, 4, out.begin() + (static_cast<std::ptrdiff_t>(y) * to_width + x) * 4);
    }
  }
}

}  // namespace fader
