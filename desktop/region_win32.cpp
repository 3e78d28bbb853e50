#include "desktop/region_win32.h"

namespace fader {

Region MakeRegion(const PictureDC& picture_dc, PictureTwips picture,
                  TwipsPerPixel twips_per_pixel, std::int32_t& transparent) {
  // Worked out first so that a bad size fails before any handle exists.
  (void)PictureSizeInPixels(picture, twips_per_pixel);

  Region result(CreateRectRgn(0, 0, 0, 0));
  HRGN accumulated = result.get();
  auto pixel = [&picture_dc](std::int32_t x, std::int32_t y) -> std::uint32_t {
    return GetPixel(picture_dc(), x, y);
  };
  auto add_rect = [accumulated](std::int32_t left, std::int32_t top, std::int32_t right,
                               std::int32_t bottom) {
    HRGN rect = CreateRectRgn(left, top, right, bottom);
    if (rect == nullptr) return;
    CombineRgn(accumulated, accumulated, rect, RGN_OR);
    DeleteObject(rect);
  };
  fader::MakeRegion(pixel, add_rect, picture, twips_per_pixel, transparent);
  return result;
}

HRGN ApplyWindowRegion(HWND window, Region region) {
  RECT box;
  const int kind = region.get() ? GetRgnBox(region.get(), &box) : ERROR;
  if (kind == NULLREGION || kind == ERROR) return nullptr;
  if (SetWindowRgn(window, region.get(), TRUE) == 0) return nullptr;
  return region.release();
}

}  // namespace fader
