// The window's outline from the committed skin: the picture decoded with
// giflib, laid over the picture box's black background as the window does it,
// scanned by MakeRegion, and compared with the opaque pixels worked out here
// straight from the GIF's indices and colour table.
#include <gif_lib.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "desktop/region.h"
#include "window/layout.h"
#include "window/skin_pixels.h"

namespace {

struct Rect {
  std::int32_t left, top, right, bottom;
  bool operator==(const Rect&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Rect& r) {
  return os << "(" << r.left << "," << r.top << ")-(" << r.right << "," << r.bottom << ")";
}

class SkinRegion : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    int err = 0;
    GifFileType* gif = DGifOpenFileName(FADER_SKIN_GIF, &err);
    ASSERT_NE(gif, nullptr) << GifErrorString(err);
    ASSERT_EQ(DGifSlurp(gif), GIF_OK);
    width_ = gif->SWidth;
    height_ = gif->SHeight;
    GraphicsControlBlock gcb{};
    ASSERT_EQ(DGifSavedExtensionToGCB(gif, 0, &gcb), GIF_OK);
    const int clear = gcb.TransparentColor;
    const GifByteType* bits = gif->SavedImages[0].RasterBits;
    const ColorMapObject* map = gif->SColorMap;

    // Straight from the file: a pixel is seen unless its index is the clear
    // one or its colour is the black of the background under it.
    seen_.assign(static_cast<std::size_t>(width_ * height_), false);
    drawn_.assign(seen_.size(), false);
    // As DecodeGif hands the picture over: premultiplied blue-green-red-alpha.
    std::vector<std::uint8_t> premultiplied(static_cast<std::size_t>(width_ * height_) * 4, 0);
    for (int i = 0; i < width_ * height_; ++i) {
      if (bits[i] == clear) continue;
      const GifColorType c = map->Colors[bits[i]];
      drawn_[i] = true;
      seen_[i] = c.Red != 0 || c.Green != 0 || c.Blue != 0;
      premultiplied[i * 4 + 0] = c.Blue;
      premultiplied[i * 4 + 1] = c.Green;
      premultiplied[i * 4 + 2] = c.Red;
      premultiplied[i * 4 + 3] = 255;
    }
    DGifCloseFile(gif, &err);

    shown_.assign(premultiplied.size(), 0);
    fader::CompositeOver(premultiplied,
                         fader::layout::kControls[fader::layout::kPicBox].back_color, shown_);
  }

  // The picture box's pixel (x, y) as GetPixel gives it, 0x00BBGGRR.
  static std::uint32_t Shown(std::int32_t x, std::int32_t y) {
    const std::uint8_t* p = &shown_[static_cast<std::size_t>(y * width_ + x) * 4];
    return p[0] << 16 | p[1] << 8 | p[2];
  }
  static bool Seen(int x, int y) { return x >= 0 && x < width_ && seen_[y * width_ + x]; }

  // MakeRegion over the picture box's place and size at `dpi`, over the skin
  // as the window shows it there: scaled to the box's size.
  static std::vector<Rect> Scanned(std::int32_t& transparent, int& outside, int dpi = 96) {
    const auto& place = fader::layout::kControls[fader::layout::kPicBox].place;
    const double tpp = fader::TwipsPerPixelForDpi(dpi);
    const int side = fader::TwipsToPixels(place.width, tpp);
    std::vector<std::uint8_t> scaled(static_cast<std::size_t>(side * side) * 4);
    fader::ScaleNearest(shown_, width_, height_, scaled, side, side);
    std::vector<Rect> rects;
    auto pixel = [&](std::int32_t x, std::int32_t y) -> std::uint32_t {
      if (x < 0 || y < 0 || x >= side || y >= side) {
        ++outside;
        return 0;
      }
      const std::uint8_t* p = &scaled[static_cast<std::size_t>(y * side + x) * 4];
      return p[0] << 16 | p[1] << 8 | p[2];
    };
    auto add = [&](std::int32_t l, std::int32_t t, std::int32_t r, std::int32_t b) {
      rects.push_back({l, t, r, b});
    };
    fader::MakeRegion(pixel, add, fader::PictureTwips{double(place.width), double(place.height)},
                      fader::TwipsPerPixel{tpp, tpp}, transparent);
    return rects;
  }

  static int width_, height_;
  static std::vector<bool> seen_;   // seen through the outline
  static std::vector<bool> drawn_;  // drawn by the skin (not the clear index)
  static std::vector<std::uint8_t> shown_;
};

int SkinRegion::width_ = 0;
int SkinRegion::height_ = 0;
std::vector<bool> SkinRegion::seen_;
std::vector<bool> SkinRegion::drawn_;
std::vector<std::uint8_t> SkinRegion::shown_;

TEST_F(SkinRegion, CoversEachSeenPixelOnceWithWholeRowRunsInReadingOrder) {
  ASSERT_EQ(width_, 250);
  ASSERT_EQ(height_, 250);
  std::int32_t transparent = 0;
  int outside = 0;
  const std::vector<Rect> got = Scanned(transparent, outside);
  EXPECT_EQ(transparent, 0);  // the black of the top-left corner, written back
  EXPECT_EQ(outside, 0);
  ASSERT_GT(got.size(), 100u);  // the skin's outline spans many rows

  // Each rectangle is part of one row with no seen pixel just beside it, and
  // follows the one before it in reading order; together they cover every
  // seen pixel once and nothing else. Only one set of rectangles does that.
  std::vector<int> cover(seen_.size(), 0);
  for (std::size_t i = 0; i < got.size(); ++i) {
    const Rect& r = got[i];
    ASSERT_TRUE(r.top >= 0 && r.top < height_ && r.bottom == r.top + 1) << r;
    ASSERT_TRUE(r.left >= 0 && r.left < r.right && r.right <= width_) << r;
    EXPECT_FALSE(Seen(r.left - 1, r.top) || Seen(r.right, r.top)) << r;
    if (i > 0) {
      const Rect& before = got[i - 1];
      EXPECT_TRUE(before.top < r.top || (before.top == r.top && before.right < r.left)) << before << " then " << r;
    }
    for (int x = r.left; x < r.right; ++x) ++cover[r.top * width_ + x];
  }
  for (int i = 0; i < width_ * height_; ++i) {
    ASSERT_EQ(cover[i], seen_[i] ? 1 : 0) << i % width_ << "," << i / width_;
  }
}

TEST_F(SkinRegion, CutsTheSkinsOwnBlackRimAwayWithTheBackground) {
  // Black on the skin is the transparent colour too: the rim pixels of the
  // lower and upper right edges fall outside the outline.
  std::int32_t transparent = 0;
  int outside = 0;
  std::vector<bool> covered(seen_.size(), false);
  for (const Rect& r : Scanned(transparent, outside))
    for (int x = r.left; x < r.right; ++x) covered[r.top * width_ + x] = true;
  int rim = 0;
  for (int i = 0; i < width_ * height_; ++i) {
    if (!drawn_[i] || seen_[i]) continue;
    EXPECT_FALSE(covered[i]) << i % width_ << "," << i / width_;
    ++rim;
  }
  EXPECT_GT(rim, 0);
}

TEST_F(SkinRegion, AGivenColourOfOneOrMoreCutsOnlyThatColour) {
  // The red of the pixel in the middle of the skin, named directly: the
  // black background then belongs to the outline, that red does not.
  const std::int32_t red = static_cast<std::int32_t>(Shown(120, 90));
  ASSERT_GE(red, 1);
  std::int32_t transparent = red;
  int outside = 0;
  const std::vector<Rect> got = Scanned(transparent, outside);
  EXPECT_EQ(transparent, red);
  ASSERT_FALSE(got.empty());
  EXPECT_EQ(got.front(), (Rect{0, 0, got.front().right, 1}));
  for (const Rect& r : got) {
    for (int x = r.left; x < r.right; ++x) ASSERT_NE(Shown(x, r.top), static_cast<std::uint32_t>(red));
  }
}

TEST_F(SkinRegion, AtEveryScaleTheOutlineHoldsEveryControlTheUserSeesAndAt192DpiEachPixelIsDoubled) {
  std::int32_t transparent = 0;
  int outside = 0;
  std::vector<bool> at96;
  for (int dpi = 96; dpi <= 288; dpi += 24) {
    const int side = fader::TwipsToPixels(3750, fader::TwipsPerPixelForDpi(dpi));
    std::vector<bool> in(static_cast<std::size_t>(side * side), false);
    for (const Rect& r : Scanned(transparent, outside, dpi))
      for (int x = r.left; x < r.right; ++x) in[r.top * side + x] = true;
    if (dpi == 96) at96 = in;
    for (int i = 0; dpi == 192 && i < side * side; ++i) {
      ASSERT_EQ(in[i], at96[(i / side / 2) * width_ + i % side / 2]) << i % side << "," << i / side;
    }
    const double tpp = fader::TwipsPerPixelForDpi(dpi);
    for (const auto& c : fader::layout::kControls) {
      const auto p = fader::layout::ToPixels(c.place, {tpp, tpp});
      for (int y = p.top; c.seen && y < p.top + p.height; ++y)
        for (int x = p.left; x < p.left + p.width; ++x) ASSERT_TRUE(in[y * side + x]) << dpi << " " << c.name;
    }
  }
}

}  // namespace
