// The skin as the window shows it: the decoded picture (premultiplied
// blue-green-red-alpha, as DecodeGif hands it over) laid over an opaque
// background colour, and scaled to its designed size at the screen's dots per
// inch. Platform-free.
#pragma once

#include <cstdint>
#include <span>

namespace fader {

// Writes into `out` (4 bytes per pixel, blue, green, red, 255) the pixels of
// `premultiplied` over `background` (0x00BBGGRR). A pixel with alpha 0 gives
// the background, one with alpha 255 its own colour. Throws
// std::invalid_argument when the two spans differ in size or are not whole
// pixels, or when a colour component exceeds its alpha (not premultiplied).
void CompositeOver(std::span<const std::uint8_t> premultiplied, std::int32_t background,
                   std::span<std::uint8_t> out);

// Writes into `out` (to_width x to_height pixels of 4 bytes, rows top-down)
// the picture `in` (width x height) scaled by nearest neighbour: each pixel
// takes the pixel of `in` under its centre (the upper or left one when the
// centre lies on the edge between two). Every colour of the result is one
// of the picture's, so the outline, cut at one exact colour, never gains a
// blend of the skin and its background; at twice the size every pixel is
// doubled exactly. Throws std::invalid_argument when a span does not hold its
// size's pixels, or for an empty picture and a result that is not.
void ScaleNearest(std::span<const std::uint8_t> in, int width, int height, std::span<std::uint8_t> out,
                  int to_width, int to_height);

}  // namespace fader
