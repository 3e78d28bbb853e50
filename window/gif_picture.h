// The first picture of a GIF file, decoded by the program itself: every
// Windows from XP on can show the skin, with or without the system's image
// codecs. Platform-free.
#pragma once

#include <cstdint>
#include <span>
#include <stdexcept>
#include <vector>

namespace fader {

// A file this decoder refuses: not a GIF, cut short, or with a size, a
// place or a code that does not fit.
class GifError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The largest width and height taken, so that a picture's pixels always fit
// in memory and in an int.
inline constexpr int kGifMaxSide = 4096;

// Rows top-down of 4 bytes a pixel: blue, green, red, alpha, premultiplied.
// Transparent pixels, and the screen the first frame does not cover, are
// 0, 0, 0, 0; every other pixel has alpha 255.
struct GifPicture {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> pixels;
};

// Decodes the first frame of `file` onto its logical screen (the picture is
// the screen's size). The frame's transparent colour comes from the control
// extension before it. Throws GifError for a file it cannot show whole: a
// screen wider or higher than kGifMaxSide, a screen or frame of no width or
// height, a frame reaching beyond the screen, no colour table, a colour beyond its
// table, an LZW code beyond the codes defined so far, or data that end
// before every pixel of the frame. Throws std::bad_alloc when memory runs
// out. Reads only within `file`.
GifPicture DecodeGif(std::span<const std::uint8_t> file);

}  // namespace fader
