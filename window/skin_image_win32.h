// The skin picture, decoded from the program's resources by the program's
// own GIF decoder (gif_picture.h: no system codec, so every Windows from XP
// on shows it), composited over a background colour and kept as a bitmap at
// the size the window shows it, ready to be drawn or read pixel by pixel.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "base/gdi_handles_win32.h"

namespace fader {

class SkinImage {
 public:
  SkinImage() = default;

  // Decodes the GIF resource `id` of `module` and lays it over `background`
  // (0x00BBGGRR): transparent pixels show the background. On any failure
  // the image stays empty (width and height 0) and draws nothing.
  bool Load(HMODULE module, int id, std::int32_t background);

  // Decodes GIF bytes; the same as Load otherwise.
  bool Decode(const void* bytes, std::size_t size, std::int32_t background);

  // Makes the bitmap anew at width x height, the decoded picture scaled by
  // nearest neighbour (ScaleNearest). False, with the bitmap as it was, when
  // nothing was decoded or the system gives no bitmap.
  bool ScaleTo(int width, int height);

  int Width() const { return width_; }
  int Height() const { return height_; }
  // A 32-bit top-down DIB section, or nullptr when empty.
  HBITMAP Bitmap() const { return bitmap_.get(); }

  // Copies the bitmap to (x, y) of `dc`.
  void Draw(HDC dc, int x, int y) const;

 private:
  std::vector<std::uint8_t> shown_;  // over the background, at the picture's own size
  int picture_width_ = 0;
  int picture_height_ = 0;
  fader::Bitmap bitmap_;
  int width_ = 0;
  int height_ = 0;
};

}  // namespace fader
