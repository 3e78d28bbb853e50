// The committed skin picture, decoded with giflib: its format, where it is
// transparent, the shape of its outline, its colours, and where the window's
// controls sit on it.
#include <gif_lib.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "window/layout.h"

namespace {

using namespace fader::layout;

constexpr int kSize = 250;
constexpr int kClear = 255;

struct GifCloser {
  void operator()(GifFileType* g) const {
    int err = 0;
    DGifCloseFile(g, &err);
  }
};

class SkinGif : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    int err = 0;
    gif_.reset(DGifOpenFileName(FADER_SKIN_GIF, &err));
    ASSERT_NE(gif_, nullptr) << GifErrorString(err);
    ASSERT_EQ(DGifSlurp(gif_.get()), GIF_OK);
  }
  static void TearDownTestSuite() { gif_.reset(); }

  static const SavedImage& Image() { return gif_->SavedImages[0]; }
  static int At(int x, int y) { return Image().RasterBits[y * kSize + x]; }
  static bool Opaque(int x, int y) {
    return x >= 0 && y >= 0 && x < kSize && y < kSize && At(x, y) != kClear;
  }
  static GifColorType Colour(int index) { return gif_->SColorMap->Colors[index]; }
  // The first or last opaque x of row `at`, or y of column `at`; -1 when none.
  template <bool kRow, bool kFirst>
  static int Edge(int at) {
    for (int i = 0, v = kFirst ? 0 : kSize - 1; i < kSize; ++i, v += kFirst ? 1 : -1) {
      if (kRow ? Opaque(v, at) : Opaque(at, v)) return v;
    }
    return -1;
  }
  static constexpr int (*FirstInRow)(int) = Edge<true, true>, (*LastInRow)(int) = Edge<true, false>;
  static constexpr int (*FirstInColumn)(int) = Edge<false, true>, (*LastInColumn)(int) = Edge<false, false>;

  static std::unique_ptr<GifFileType, GifCloser> gif_;
};

std::unique_ptr<GifFileType, GifCloser> SkinGif::gif_;

TEST_F(SkinGif, IsOneFullGif89aImageWithA256EntryTable) {
  std::FILE* f = std::fopen(FADER_SKIN_GIF, "rb");
  ASSERT_NE(f, nullptr);
  char sig[6] = {};
  ASSERT_EQ(std::fread(sig, 1, 6, f), 6u);
  std::fclose(f);
  EXPECT_EQ(std::string(sig, 6), "GIF89a");

  EXPECT_EQ(gif_->SWidth, kSize);
  EXPECT_EQ(gif_->SHeight, kSize);
  ASSERT_NE(gif_->SColorMap, nullptr);
  EXPECT_EQ(gif_->SColorMap->ColorCount, 256);
  EXPECT_EQ(gif_->SBackGroundColor, 0);
  ASSERT_EQ(gif_->ImageCount, 1);
  const GifImageDesc& d = Image().ImageDesc;
  EXPECT_EQ(d.Left, 0);
  EXPECT_EQ(d.Top, 0);
  EXPECT_EQ(d.Width, kSize);
  EXPECT_EQ(d.Height, kSize);
  EXPECT_FALSE(d.Interlace);
  EXPECT_EQ(d.ColorMap, nullptr);  // the global table serves

  const GifColorType black = Colour(0), white = Colour(255);
  EXPECT_EQ(black.Red + black.Green + black.Blue, 0);
  EXPECT_EQ(white.Red & white.Green & white.Blue, 255);
}

TEST_F(SkinGif, HasAControlExtensionWithTransparentIndex255AndNoDelay) {
  GraphicsControlBlock gcb{};
  ASSERT_EQ(DGifSavedExtensionToGCB(gif_.get(), 0, &gcb), GIF_OK);
  EXPECT_EQ(gcb.TransparentColor, kClear);  // NO_TRANSPARENT_COLOR (-1) when the flag is clear
  EXPECT_EQ(gcb.DelayTime, 0);
  int controls = 0;
  for (int i = 0; i < Image().ExtensionBlockCount; ++i) {
    if (Image().ExtensionBlocks[i].Function == GRAPHICS_EXT_FUNC_CODE) ++controls;
  }
  EXPECT_EQ(controls, 1);
}

TEST_F(SkinGif, OpaqueOnlyInsideTheOutlinesBox) {
  EXPECT_FALSE(Opaque(0, 0));
  int opaque = 0;
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      if (!Opaque(x, y)) continue;
      ++opaque;
      ASSERT_TRUE(x >= 4 && x <= 241 && y >= 30 && y <= 143) << "opaque at " << x << "," << y;
    }
  }
  // The corners reach the box's top and bottom rows.
  EXPECT_NE(FirstInRow(30), -1);
  EXPECT_NE(FirstInRow(143), -1);
  EXPECT_GT(opaque, 15000);  // a solid skin, not a sketch
}

TEST_F(SkinGif, HasFourPointedCornersNearTheirPlaces) {
  struct Corner {
    int x, y, dx, dy;  // the corner and the direction into the skin
  };
  const Corner corners[] = {{5, 30, 1, 1}, {240, 30, -1, 1}, {13, 143, 1, -1}, {238, 143, -1, -1}};
  for (const Corner& c : corners) {
    // The tip: the outermost opaque pixel within 2 pixels of the corner.
    int tip_x = -1, tip_y = -1;
    for (int dy = -2; dy <= 2; ++dy) {
      for (int dx = -2; dx <= 2; ++dx) {
        const int x = c.x + dx, y = c.y + dy;
        if (Opaque(x, y) && (tip_x < 0 || c.dx * x + c.dy * y < c.dx * tip_x + c.dy * tip_y)) {
          tip_x = x;
          tip_y = y;
        }
      }
    }
    ASSERT_GE(tip_x, 0) << "no opaque pixel near " << c.x << "," << c.y;
    // A square or rounded corner fills nearly all of the 8 x 8 box inside its
    // tip; a pointed one leaves much of it empty.
    int filled = 0;
    for (int i = 0; i < 8; ++i)
      for (int j = 0; j < 8; ++j) filled += Opaque(tip_x + c.dx * i, tip_y + c.dy * j);
    EXPECT_LT(filled, 40) << "corner " << c.x << "," << c.y << " is not pointed";
  }
}

TEST_F(SkinGif, EachEdgeBowsInwardToItsDeepestPoint) {
  // Each edge as the opaque pixel nearest it along a row or column: its
  // middle lies within [low, high], and nearer the corners it lies more than
  // `by` pixels further out (outward: -1 towards 0, +1 away from it).
  struct Edge {
    const char* name;
    int (*at)(int);
    int middle, low, high, outward;
    std::pair<int, int> outer[2];  // row or column, by
  };
  const Edge edges[] = {
      {"top", FirstInColumn, 122, 45, 49, -1, {{30, 8}, {215, 8}}},
      {"bottom", LastInColumn, 125, 123, 127, +1, {{30, 8}, {220, 8}}},
      {"left", FirstInRow, 88, 27, 31, -1, {{36, 12}, {138, 8}}},
      {"right", LastInRow, 88, 216, 220, +1, {{36, 12}, {138, 12}}},
  };
  for (const Edge& e : edges) {
    const int mid = e.at(e.middle);
    EXPECT_GE(mid, e.low) << e.name;
    EXPECT_LE(mid, e.high) << e.name;
    for (auto [line, by] : e.outer) EXPECT_GT(e.outward * (e.at(line) - mid), by) << e.name << " at " << line;
  }

  // No hole: every transparent pixel is reached from the picture's border
  // over transparent pixels.
  std::vector<char> seen(kSize * kSize, 0);
  std::vector<std::pair<int, int>> todo;
  for (int i = 0; i < kSize; ++i) {
    todo.emplace_back(i, 0);
    todo.emplace_back(i, kSize - 1);
    todo.emplace_back(0, i);
    todo.emplace_back(kSize - 1, i);
  }
  while (!todo.empty()) {
    const auto [x, y] = todo.back();
    todo.pop_back();
    if (x < 0 || y < 0 || x >= kSize || y >= kSize || seen[y * kSize + x] || Opaque(x, y)) continue;
    seen[y * kSize + x] = 1;
    todo.insert(todo.end(), {{x + 1, y}, {x - 1, y}, {x, y + 1}, {x, y - 1}});
  }
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x) ASSERT_TRUE(Opaque(x, y) || seen[y * kSize + x]) << "hole at " << x << "," << y;
}

TEST_F(SkinGif, IsMostlyRedWithABlackRimOnTheLowerAndUpperRightEdges) {
  int opaque = 0, red = 0, black = 0;
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      if (!Opaque(x, y)) continue;
      ++opaque;
      const GifColorType c = Colour(At(x, y));
      if (At(x, y) == 0) ++black;
      if (c.Red >= 60 && c.Red > c.Green + 40 && c.Red > c.Blue + 40) ++red;
    }
  }
  EXPECT_GT(red, opaque * 8 / 10);
  EXPECT_GT(black, 0);

  // Along the whole lower edge (away from the corners' points), the lowest
  // two to four pixels of each column are palette entry 0.
  for (int x = 20; x <= 232; ++x) {
    const int last = LastInColumn(x);
    int run = 0;
    while (last - run >= 0 && Opaque(x, last - run) && At(x, last - run) == 0) ++run;
    EXPECT_GE(run, 2) << "column " << x;
    EXPECT_LE(run, 4) << "column " << x;
  }
  // Along the upper half of the right edge, the same across each row.
  for (int y = 34; y <= 86; ++y) {
    const int last = LastInRow(y);
    int run = 0;
    while (last - run >= 0 && Opaque(last - run, y) && At(last - run, y) == 0) ++run;
    EXPECT_GE(run, 2) << "row " << y;
    EXPECT_LE(run, 4) << "row " << y;
  }
}

// Whether every pixel of a control's place (pixels at 96 dpi) satisfies pred.
template <typename Pred>
bool AllPixels(const Control& c, Pred pred) {
  const PixelRect r = ToPixels(c.place, {fader::kTwipsPerPixelAt96Dpi, fader::kTwipsPerPixelAt96Dpi});
  for (int y = r.top; y < r.top + r.height; ++y)
    for (int x = r.left; x < r.left + r.width; ++x)
      if (!pred(x, y)) return false;
  return true;
}

TEST_F(SkinGif, ControlsTheUserSeesSitOnRedAndTheTwoHiddenOnesOffTheSkin) {
  int seen = 0;
  for (const Control& c : kControls) {
    if (c.place.width == 0) continue;
    if (c.seen) {
      ++seen;
      EXPECT_TRUE(AllPixels(c, [](int x, int y) { return Opaque(x, y) && At(x, y) != 0; })) << c.name;
    } else if (c.name != "txtResult") {  // txtResult hides under txtMessage instead
      EXPECT_TRUE(AllPixels(c, [](int x, int y) { return !Opaque(x, y); })) << c.name;
    }
  }
  EXPECT_EQ(seen, 10);
}

}  // namespace
