#include "desktop/region.h"

namespace fader {

PixelSize PictureSizeInPixels(PictureTwips picture, TwipsPerPixel twips_per_pixel) {
  // Height before width, as the picture box is measured.
  const std::int32_t h = TwipsToPixels(picture.height, twips_per_pixel.y);
  const std::int32_t w = TwipsToPixels(picture.width, twips_per_pixel.x);
  return PixelSize{w, h};
}

}  // namespace fader
