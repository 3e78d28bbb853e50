// Twips to pixels and back, as the window, the outline and the tray read and
// lay out places (a mouse message's too): rounding, 32-bit range, the factor.
#include <gtest/gtest.h>

#include <limits>

#include "base/overflow_error.h"
#include "base/twips.h"

namespace {

using fader::OverflowError;
using fader::TwipsToPixels;

TEST(Twips, ToPixelsRoundsToNearestWithHalvesToEven) {
  EXPECT_EQ(TwipsToPixels(3750, 15), 250);
  EXPECT_EQ(TwipsToPixels(37.5, 15), 2);   // 2.5
  EXPECT_EQ(TwipsToPixels(52.5, 15), 4);   // 3.5
  EXPECT_EQ(TwipsToPixels(-37.5, 15), -2);
  EXPECT_EQ(TwipsToPixels(7.4, 15), 0);
  EXPECT_EQ(TwipsToPixels(3757.4, 15), 250);
  EXPECT_EQ(TwipsToPixels(3750, 12), 312);  // 312.5 at 120 dots per inch
}

TEST(Twips, ToPixelsThrowsOutside32BitsOrWithoutAPositiveFactor) {
  EXPECT_EQ(TwipsToPixels(2147483647.0 * 15, 15), 2147483647);
  EXPECT_EQ(TwipsToPixels(-2147483648.0 * 15, 15), -2147483647 - 1);
  EXPECT_THROW(TwipsToPixels(2147483648.0 * 15, 15), OverflowError);
  EXPECT_THROW(TwipsToPixels(-1e12, 15), OverflowError);
  EXPECT_THROW(TwipsToPixels(std::numeric_limits<double>::quiet_NaN(), 15), OverflowError);
  EXPECT_THROW(TwipsToPixels(100, 0), OverflowError);
  EXPECT_THROW(TwipsToPixels(0, 0), OverflowError);
  EXPECT_THROW(TwipsToPixels(100, -15), OverflowError);
}

TEST(Twips, BackFromPixelsAsA32BitFloat) {
  EXPECT_EQ(fader::PixelsToTwips(-1, 15), -15.0f);
  EXPECT_EQ(fader::PixelsToTwips(16777217, 1), 16777216.0f);  // beyond a float's 24 bits
}

TEST(Twips, PerPixelFollowsTheScreensDotsPerInch) {
  EXPECT_DOUBLE_EQ(fader::TwipsPerPixelForDpi(96), 15.0);
  EXPECT_DOUBLE_EQ(fader::TwipsPerPixelForDpi(120), 12.0);
  // No dpi or an absurd one: the nearest of 96 to 480 dpi, the scales Windows offers.
  for (int dpi : {0, 1}) EXPECT_DOUBLE_EQ(fader::TwipsPerPixelForDpi(dpi), 15.0);
  EXPECT_DOUBLE_EQ(fader::TwipsPerPixelForDpi(4800), 3.0);
}

TEST(MouseMessage, PositionIsSignedPixelsTimesTwipsPerPixel) {
  float x = 0, y = 0;
  fader::DecodeMousePosition(515, {15, 15}, x, y);  // a tray double-click as a mouse move
  EXPECT_EQ(x, 7725.0f);
  EXPECT_EQ(y, 0.0f);
  fader::DecodeMousePosition(516, {15, 15}, x, y);
  EXPECT_EQ(x, 7740.0f);
  fader::DecodeMousePosition(0xFFFF0001u, {15, 15}, x, y);  // left of / above the window under capture
  EXPECT_EQ(x, 15.0f);
  EXPECT_EQ(y, -15.0f);
  fader::DecodeMousePosition(0x0000FFFFu, {15, 15}, x, y);
  EXPECT_EQ(x, -15.0f);
  fader::DecodeMousePosition(0x80007FFFu, {15, 15}, x, y);
  EXPECT_EQ(x, 32767.0f * 15.0f);
  EXPECT_EQ(y, -32768.0f * 15.0f);
  fader::DecodeMousePosition(0x00020003u, {12, 20}, x, y);  // each direction its own factor
  EXPECT_EQ(x, 36.0f);
  EXPECT_EQ(y, 40.0f);
}

}  // namespace
