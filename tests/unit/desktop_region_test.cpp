// The outline scan: runs per row, the transparent colour and its write-back,
// the picture's size in pixels, and the pixels it may read.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <set>
#include <tuple>
#include <utility>
#include <vector>

#include "base/overflow_error.h"
#include "desktop/region.h"

namespace {

using fader::MakeRegion;
using fader::PictureTwips;
using fader::TwipsPerPixel;

constexpr TwipsPerPixel k15{15.0, 15.0};
constexpr std::uint32_t T = 0x00808080;  // transparent in most cases below
constexpr std::uint32_t A = 0x000000FF;
constexpr std::uint32_t B = 0x0000FF00;

using Rect = std::tuple<int, int, int, int>;  // left, top, right, bottom

// A picture that records every read and flags any outside its stored pixels
// or outside the W x H the scan was given.
struct Picture {
  int stride = 0;
  int rows = 0;
  std::vector<std::uint32_t> pixels;
  int limit_w = 0;
  int limit_h = 0;
  std::vector<std::pair<int, int>> reads;

  Picture(int w, int h, std::uint32_t fill) : stride(w), rows(h), pixels(w * h, fill), limit_w(w), limit_h(h) {}
  Picture(std::vector<std::vector<std::uint32_t>> grid)
      : stride(grid.empty() ? 0 : static_cast<int>(grid[0].size())), rows(static_cast<int>(grid.size())) {
    for (const auto& row : grid) pixels.insert(pixels.end(), row.begin(), row.end());
    limit_w = stride;
    limit_h = rows;
  }
  std::uint32_t& at(int x, int y) { return pixels[y * stride + x]; }
  std::uint32_t operator()(std::int32_t x, std::int32_t y) {
    reads.emplace_back(x, y);
    if (x < 0 || y < 0 || x >= limit_w || y >= limit_h || x >= stride || y >= rows) {
      ADD_FAILURE() << "pixel (" << x << ", " << y << ") read outside the picture";
      return 0;
    }
    return at(x, y);
  }
};

struct Rects {
  std::vector<Rect> got;
  void operator()(std::int32_t l, std::int32_t t, std::int32_t r, std::int32_t b) { got.emplace_back(l, t, r, b); }
};

// Scans the picture at 15 twips per pixel over its stored size.
std::vector<Rect> Scan(Picture& pic, std::int32_t& transparent) {
  Rects sink;
  MakeRegion(pic, sink, PictureTwips{pic.limit_w * 15.0, pic.limit_h * 15.0}, k15, transparent);
  return sink.got;
}

TEST(RegionScan, RowWithTwoRunsGivesTwoRectanglesWithExclusiveRightEdges) {
  Picture pic({{T, T, A, A, T, B, T}});
  std::int32_t t = T;
  EXPECT_EQ(Scan(pic, t), (std::vector<Rect>{{2, 0, 4, 1}, {5, 0, 6, 1}}));
}

TEST(RegionScan, RunReachingTheRightEdgeEndsAtW) {
  Picture pic({{T, A, B}, {A, A, A}, {T, T, A}});
  std::int32_t t = T;
  EXPECT_EQ(Scan(pic, t), (std::vector<Rect>{{1, 0, 3, 1}, {0, 1, 3, 2}, {2, 2, 3, 3}}));
}

TEST(RegionScan, RowsAreScannedTopToBottomAndHolesSplitRuns) {
  Picture pic({{A, A, A}, {A, T, A}, {T, T, T}, {A, A, A}});
  std::int32_t t = T;
  EXPECT_EQ(Scan(pic, t),
            (std::vector<Rect>{{0, 0, 3, 1}, {0, 1, 1, 2}, {2, 1, 3, 2}, {0, 3, 3, 4}}));
}

TEST(RegionScan, AllTransparentGivesTheEmptyRegion) {
  Picture pic(9, 5, T);
  std::int32_t t = 0;
  EXPECT_TRUE(Scan(pic, t).empty());
  EXPECT_EQ(t, static_cast<std::int32_t>(T));
}

TEST(RegionScan, ColoursMustMatchInAll32Bits) {
  Picture pic({{T, T | 0x01000000, T ^ 1, T}});
  std::int32_t t = T;
  EXPECT_EQ(Scan(pic, t), (std::vector<Rect>{{1, 0, 3, 1}}));
}

TEST(RegionScan, PictureWithoutPixelsReadsNothingAndAddsNothing) {
  Picture pic(4, 4, A);
  for (PictureTwips size : {PictureTwips{0, 60}, PictureTwips{60, 0}, PictureTwips{0, 0},
                            PictureTwips{-60, 60}, PictureTwips{60, -15}, PictureTwips{7, 7}}) {
    Rects sink;
    std::int32_t t = 0;
    MakeRegion(pic, sink, size, k15, t);
    EXPECT_TRUE(sink.got.empty()) << size.width << " x " << size.height;
    // There is no pixel (0, 0) to take the colour from: it stays as given.
    EXPECT_EQ(t, 0);
  }
  EXPECT_TRUE(pic.reads.empty());
}

TEST(RegionTransparentColour, BelowOneIsReplacedByPixelZeroZeroAndWrittenBack) {
  for (std::int32_t given : {0, -1, -123456, std::numeric_limits<std::int32_t>::min()}) {
    Picture pic({{B, A, B}, {A, B, T}});
    std::int32_t t = given;
    EXPECT_EQ(Scan(pic, t), (std::vector<Rect>{{1, 0, 2, 1}, {0, 1, 1, 2}, {2, 1, 3, 2}})) << given;
    EXPECT_EQ(t, static_cast<std::int32_t>(B)) << given;
  }
}

TEST(RegionTransparentColour, PixelZeroZeroIsOutsideAndItsColourCutsHolesEverywhere) {
  // Black at (0, 0): every black pixel, also one well inside, is cut away.
  Picture pic({{0, A, A, A}, {A, A, 0, A}});
  std::int32_t t = 0;
  EXPECT_EQ(Scan(pic, t), (std::vector<Rect>{{1, 0, 4, 1}, {0, 1, 2, 2}, {3, 1, 4, 2}}));
  EXPECT_EQ(t, 0);
}

TEST(RegionTransparentColour, FailedReadValueAtZeroZeroIsWrittenBackAsMinusOne) {
  // A read that fails gives the invalid colour 0xFFFFFFFF, compared like any.
  Picture pic({{0xFFFFFFFF, A}, {0xFFFFFFFF, 0xFFFFFFFF}});
  std::int32_t t = 0;
  EXPECT_EQ(Scan(pic, t), (std::vector<Rect>{{1, 0, 2, 1}}));
  EXPECT_EQ(t, -1);
}

TEST(RegionTransparentColour, OneOrMoreIsKeptAndTheVariableLeftAlone) {
  for (std::int32_t given : {1, static_cast<std::int32_t>(T), 0x00FFFFFF, 0x7FFFFFFF}) {
    Picture pic({{static_cast<std::uint32_t>(given) == A ? B : A, static_cast<std::uint32_t>(given)}});
    std::int32_t t = given;
    EXPECT_EQ(Scan(pic, t), (std::vector<Rect>{{0, 0, 1, 1}})) << given;
    EXPECT_EQ(t, given);
  }
}

TEST(RegionReads, NeverOutsideWxHAndTheOutcomeIgnoresThosePixels) {
  // Stored 8 x 6, scanned as 5 x 4: the pixels beyond must not matter.
  Picture pic(8, 6, A);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 5; ++x) pic.at(x, y) = (x + y) % 3 == 0 ? T : A;
  pic.limit_w = 5;
  pic.limit_h = 4;
  std::int32_t t = 0;
  Rects first;
  MakeRegion(pic, first, PictureTwips{75, 60}, k15, t);

  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 8; ++x)
      if (x >= 5 || y >= 4) pic.at(x, y) = (x * 7 + y) % 2 ? T : B;
  Rects second;
  t = 0;
  MakeRegion(pic, second, PictureTwips{75, 60}, k15, t);
  EXPECT_EQ(first.got, second.got);
  EXPECT_EQ(first.got.back(), (Rect{4, 3, 5, 4}));

  // About one read per pixel: each once, and (0, 0) once more for the colour.
  std::set<std::pair<int, int>> distinct(pic.reads.begin(), pic.reads.end());
  EXPECT_EQ(distinct.size(), 20u);
  EXPECT_EQ(pic.reads.size(), 2u * 21u);
}

TEST(RegionSize, WidthUsesTheHorizontalAndHeightTheVerticalFactor) {
  const auto size = fader::PictureSizeInPixels(PictureTwips{3750, 3750}, TwipsPerPixel{15, 10});
  EXPECT_EQ(size.width, 250);
  EXPECT_EQ(size.height, 375);

  Picture pic(3, 2, A);
  std::int32_t t = T;
  Rects sink;
  MakeRegion(pic, sink, PictureTwips{3 * 12.0, 2 * 20.0}, TwipsPerPixel{12, 20}, t);
  EXPECT_EQ(sink.got, (std::vector<Rect>{{0, 0, 3, 1}, {0, 1, 3, 2}}));
}

TEST(RegionSize, SizeBeyond32BitsThrowsBeforeAnythingIsReadOrWritten) {
  Picture pic(2, 2, A);
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (auto [size, tpp] : {std::pair{PictureTwips{30, 30}, TwipsPerPixel{0, 15}},
                           std::pair{PictureTwips{30, 30}, TwipsPerPixel{15, 0}},
                           std::pair{PictureTwips{nan, 30}, k15},
                           std::pair{PictureTwips{30, 15.0 * 2147483648.0}, k15}}) {
    Rects sink;
    std::int32_t t = 0;
    EXPECT_THROW(MakeRegion(pic, sink, size, tpp, t), fader::OverflowError);
    EXPECT_EQ(t, 0);
    EXPECT_TRUE(sink.got.empty());
  }
  EXPECT_TRUE(pic.reads.empty());
}

}  // namespace
