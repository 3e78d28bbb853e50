#include "desktop/region.h"

namespace fader {

PixelSize PictureSizeInPixels(PictureTwips picture, TwipsPerPixel twipsPerPixel) {
  // Height before width, as the picture box is measured.
  const std::int32_t h = TwipsToPixels(picture.height, twipsPerPixel.y);
  const std::int32_t w = TwipsToPixels(picture.width, twipsPerPixel.x);
  return PixelSize{w, h};
}

}  // namespace fader
