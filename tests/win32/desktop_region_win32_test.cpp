// The outline on real GDI under Wine: the region MakeRegion builds from a
// picture in a memory DC, applied to a borderless window of the main
// window's size and read back, and the region handles it leaves behind.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <stdexcept>

#include "base/overflow_error.h"
#include "desktop/region_win32.h"
#include "tests/win32/desktop_support_win32.h"

namespace {

using fader::test::kGdiRegionType;
using fader::test::LiveGdiObjects;
using fader::test::MemoryPicture;
using fader::PictureTwips;
using fader::TwipsPerPixel;

constexpr TwipsPerPixel k15{15, 15};
constexpr PictureTwips kPicBox{3750, 3750};

class ShapedWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    window_ = fader::test::CreateTestPopup(L"DesktopRegionTestWindow", DefWindowProcW,
                                            static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)), L"shape", 100, 100);
    ASSERT_NE(window_, nullptr);
  }
  void TearDown() override {
    if (window_ != nullptr) DestroyWindow(window_);
  }

  fader::test::Rows WindowRows() {
    HRGN probe = CreateRectRgn(0, 0, 0, 0);
    const int kind = GetWindowRgn(window_, probe);
    EXPECT_NE(kind, ERROR) << "window has no region";
    fader::test::Rows rows = fader::test::RegionRows(probe);
    DeleteObject(probe);
    return rows;
  }

  HWND window_ = nullptr;
};

TEST_F(ShapedWindow, AppliedRegionIsTheSkinPicturesOwnPixels) {
  MemoryPicture picture(250, 250);
  picture.DrawSkinLike();

  int asked = 0;
  std::int32_t transparent = 0;
  fader::Region region = fader::MakeRegion(
      [&] {
        ++asked;
        return picture.dc();
      },
      kPicBox, k15, transparent);
  EXPECT_EQ(transparent, 0);  // black, the colour of pixel (0, 0)
  EXPECT_EQ(asked, 250 * 250 + 1);  // the DC is asked for every read
  // Pixel by pixel, as GDI answers for the region: inside exactly where the
  // picture is not black.
  int inside = 0;
  for (int y = 0; y < 250; ++y) {
    for (int x = 0; x < 250; ++x) {
      const bool opaque = picture.at(x, y) != 0;
      ASSERT_EQ(PtInRegion(region.get(), x, y) != FALSE, opaque) << x << ", " << y;
      inside += opaque;
    }
  }
  ASSERT_GT(inside, 10000);  // a whole shape, not a few specks
  const fader::test::Rows made = fader::test::RegionRows(region.get());

  HRGN applied = fader::ApplyWindowRegion(window_, std::move(region));
  EXPECT_NE(applied, nullptr);
  EXPECT_EQ(region.get(), nullptr);
  EXPECT_EQ(WindowRows(), made);
  // Corners and the inward bows are cut away, the middle is inside.
  RECT box{};
  HRGN probe = CreateRectRgn(0, 0, 0, 0);
  GetWindowRgn(window_, probe);
  GetRgnBox(probe, &box);
  EXPECT_FALSE(PtInRegion(probe, 0, 0));
  EXPECT_FALSE(PtInRegion(probe, 120, 35));
  EXPECT_TRUE(PtInRegion(probe, 120, 90));
  DeleteObject(probe);
  EXPECT_GE(box.left, 4);
  EXPECT_LE(box.right, 242);
  EXPECT_GE(box.top, 30);
  EXPECT_LE(box.bottom, 144);
}

TEST_F(ShapedWindow, ExplicitColourCutsOnlyThatColour) {
  MemoryPicture picture(40, 10);
  picture.Fill(0x00FF0000);  // DIB red, read as 0x000000FF
  picture.at(3, 2) = 0x0000FF00;
  picture.at(39, 9) = 0x0000FF00;
  std::int32_t transparent = 0x0000FF00;  // green, both in DIB and COLORREF order
  fader::Region region = fader::MakeRegion([&] { return picture.dc(); },
                                                 PictureTwips{600, 150}, k15, transparent);
  EXPECT_EQ(transparent, 0x0000FF00);
  fader::test::Rows rows = fader::test::RegionRows(region.get());
  ASSERT_EQ(rows.size(), 10u);
  EXPECT_EQ(rows[2], (std::vector<std::pair<int, int>>{{0, 3}, {4, 40}}));
  EXPECT_EQ(rows[9], (std::vector<std::pair<int, int>>{{0, 39}}));
  EXPECT_EQ(rows[0], (std::vector<std::pair<int, int>>{{0, 40}}));
}

TEST_F(ShapedWindow, AllTransparentAndZeroSizeGiveAnEmptyRegion) {
  MemoryPicture picture(30, 30);
  picture.Fill(0x00123456);
  for (PictureTwips size : {PictureTwips{450, 450}, PictureTwips{0, 450}, PictureTwips{450, 0}}) {
    std::int32_t transparent = 0;
    fader::Region region = fader::MakeRegion([&] { return picture.dc(); }, size, k15, transparent);
    ASSERT_NE(region.get(), nullptr);
    RECT box{};
    EXPECT_EQ(GetRgnBox(region.get(), &box), NULLREGION) << size.width << " x " << size.height;
  }
}

TEST_F(ShapedWindow, NoRegionHandleOutlivesItsUse) {
  // The count must see a region come and go, or it proves nothing.
  const int base = LiveGdiObjects(kGdiRegionType);
  ASSERT_GE(base, 0);
  HRGN extra = CreateRectRgn(0, 0, 1, 1);
  ASSERT_EQ(LiveGdiObjects(kGdiRegionType), base + 1);
  DeleteObject(extra);
  ASSERT_EQ(LiveGdiObjects(kGdiRegionType), base);

  const int all_base = LiveGdiObjects();
  MemoryPicture picture(250, 250);
  picture.DrawSkinLike();
  const int with_picture = LiveGdiObjects();
  int most = 0;
  int reads = 0;
  std::int32_t transparent = 0;
  fader::Region region = fader::MakeRegion(
      [&] {
        // Sampled: counting walks the whole handle table.
        if (++reads % 251 == 0) most = std::max(most, LiveGdiObjects(kGdiRegionType) - base);
        return picture.dc();
      },
      kPicBox, k15, transparent);
  EXPECT_GE(most, 1);
  EXPECT_LE(most, 2);
  EXPECT_EQ(LiveGdiObjects(kGdiRegionType), base + 1);  // only the result
  EXPECT_EQ(LiveGdiObjects(), with_picture + 1);

  // Applied, the system owns it and frees it with the window.
  fader::ApplyWindowRegion(window_, std::move(region));
  DestroyWindow(window_);
  window_ = nullptr;
  EXPECT_EQ(LiveGdiObjects(kGdiRegionType), base);
  EXPECT_GE(LiveGdiObjects(), all_base);
}

TEST_F(ShapedWindow, FailingPictureLeavesNoRegionBehind) {
  MemoryPicture picture(50, 50);
  picture.Fill(0x00C02020);
  const int base = LiveGdiObjects(kGdiRegionType);
  int reads = 0;
  std::int32_t transparent = 0;
  EXPECT_THROW(fader::MakeRegion(
                   [&]() -> HDC {
                     if (++reads == 1700) throw std::runtime_error("picture gone");
                     return picture.dc();
                   },
                   PictureTwips{750, 750}, k15, transparent),
               std::runtime_error);
  EXPECT_EQ(LiveGdiObjects(kGdiRegionType), base);
  EXPECT_THROW(fader::MakeRegion([&] { return picture.dc(); }, PictureTwips{750, 750},
                                 TwipsPerPixel{0, 15}, transparent),
               fader::OverflowError);
  EXPECT_EQ(LiveGdiObjects(kGdiRegionType), base);
}

TEST_F(ShapedWindow, ClicksOnCutAwayPixelsMissTheWindow) {
  MemoryPicture picture(250, 250);
  picture.DrawSkinLike();
  std::int32_t transparent = 0;
  fader::ApplyWindowRegion(window_, fader::MakeRegion([&] { return picture.dc(); }, kPicBox, k15, transparent));
  ShowWindow(window_, SW_SHOWNOACTIVATE);
  UpdateWindow(window_);
  POINT inside{100 + 120, 100 + 90};
  POINT cut{100 + 2, 100 + 2};
  POINT bow{100 + 120, 100 + 35};
  EXPECT_EQ(WindowFromPoint(inside), window_);
  EXPECT_NE(WindowFromPoint(cut), window_);
  EXPECT_NE(WindowFromPoint(bow), window_);
}

}  // namespace
