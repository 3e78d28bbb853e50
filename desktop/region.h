// The window's outline from its skin picture: every row of the picture is cut
// into runs of pixels that differ from a transparent colour, and each run
// becomes one rectangle of the region.
//
// The scan knows nothing of the platform: it reads pixels through a pixel
// source and hands rectangles to a sink. The GDI binding (region_win32.h)
// reads the picture box with GetPixel and merges the rectangles into a region.
#pragma once

#include <concepts>
#include <cstdint>

#include "base/twips.h"

namespace fader {

// A pixel source answers source(x, y) with the 32-bit colour value of that
// pixel (0x00BBGGRR, or whatever a failed read gives). It is only asked for
// pixels inside the picture.
template <class S>
concept RegionPixelSource = requires(S& source, std::int32_t x, std::int32_t y) {
  { source(x, y) } -> std::convertible_to<std::uint32_t>;
};

// A rectangle sink takes sink(left, top, right, bottom), right and bottom
// exclusive; each call adds that rectangle to the region being built.
template <class K>
concept RegionRectSink = requires(K& sink, std::int32_t v) { sink(v, v, v, v); };

// The picture's size as the layout gives it, in twips.
struct PictureTwips {
  double width;
  double height;
};

struct PixelSize {
  std::int32_t width;
  std::int32_t height;
};

// The picture's size in pixels: height first, then width, each rounded as
// TwipsToPixels does (OverflowError when it does not fit 32 bits).
PixelSize PictureSizeInPixels(PictureTwips picture, TwipsPerPixel twips_per_pixel);

// Scans the picture row by row, top to bottom, left to right, and hands every
// run of pixels whose colour differs from the transparent colour in all 32
// bits to the sink as the rectangle (start, y, end, y + 1).
//
// A transparent colour below 1 means "the colour of pixel (0, 0)": it is read
// and written back into the caller's variable, so black can never be named
// directly. A colour of 1 or more is used as given and left alone.
//
// No pixel outside width x height is ever read. A picture without pixels
// (either side 0 or less) reads nothing, adds nothing and, having no pixel
// (0, 0), leaves the transparent colour as it was given. The size is worked
// out before anything else, so an OverflowError leaves the colour untouched.
template <RegionPixelSource Source, RegionRectSink Sink>
void MakeRegion(Source& pixel, Sink& add_rect, PictureTwips picture,
                TwipsPerPixel twips_per_pixel, std::int32_t& transparent) {
  const PixelSize size = PictureSizeInPixels(picture, twips_per_pixel);
  if (size.width < 1 || size.height < 1) return;

  if (transparent < 1) {
    transparent = static_cast<std::int32_t>(static_cast<std::uint32_t>(pixel(0, 0)));
  }
  const auto t = static_cast<std::uint32_t>(transparent);
  const std::int32_t w = size.width;
  const std::int32_t h = size.height;

  // Each pixel is read once: a run starts at the first pixel that differs
  // from t and ends before the next one that equals it, or at the right edge.
  for (std::int32_t y = 0; y < h; ++y) {
    std::int32_t start = -1;
    for (std::int32_t x = 0; x < w; ++x) {
      const bool opaque = static_cast<std::uint32_t>(pixel(x, y)) != t;
      if (opaque && start < 0) {
        start = x;
      } else if (!opaque && start >= 0) {
        add_rect(start, y, x, y + 1);
        start = -1;
      }
    }
    if (start >= 0) add_rect(start, y, w, y + 1);
  }
}

}  // namespace fader
