// The skin as the window shows it: the decoded picture (premultiplied
// blue-green-red-alpha, as DecodeGif hands it over) laid over an opaque
// background colour. Platform-free.
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

}  // namespace fader
