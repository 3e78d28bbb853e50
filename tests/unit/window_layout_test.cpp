// The design tables of frmFade against the figures the layout was drawn from
// (pixels at 96 dpi), and the rules built on them: tab order, places and
// fonts in pixels, the decoding of a mouse message, compositing the skin.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "base/overflow_error.h"
#include "window/layout.h"
#include "window/skin_pixels.h"

namespace {

using namespace fader::layout;

constexpr fader::TwipsPerPixel kTpp{fader::kTwipsPerPixelAt96Dpi, fader::kTwipsPerPixelAt96Dpi};

TEST(WindowLayout, PlacesInPixelsAreTheDrawingsFigures) {
  struct Expected {
    ControlId id;
    PixelRect px;
  };
  const Expected expected[] = {
      {kTxtFocus, {272, 56, 41, 17}},   {kTxtMessage, {40, 72, 169, 17}}, {kCmdSend, {192, 112, 33, 17}},
      {kTitleBar, {24, 48, 57, 17}},    {kPicBox, {8, 200, 250, 250}},    {kCmdExit, {208, 40, 17, 17}},
      {kCmdMinimize, {184, 40, 17, 17}}, {kTxtResult, {40, 72, 169, 17}}, {kColor5, {128, 104, 17, 17}},
      {kColor4, {104, 104, 17, 17}},    {kColor3, {80, 104, 17, 17}},     {kColor2, {56, 104, 17, 17}},
      {kColor1, {32, 104, 17, 17}},
  };
  for (const Expected& e : expected) {
    const PixelRect got = ToPixels(kControls[e.id].place, kTpp);
    EXPECT_EQ(got.left, e.px.left) << kControls[e.id].name;
    EXPECT_EQ(got.top, e.px.top) << kControls[e.id].name;
    EXPECT_EQ(got.width, e.px.width) << kControls[e.id].name;
    EXPECT_EQ(got.height, e.px.height) << kControls[e.id].name;
  }
  EXPECT_EQ(fader::TwipsToPixels(kFrmFade.client_width, kTpp.x), 367);
  EXPECT_EQ(fader::TwipsToPixels(kFrmFade.client_height, kTpp.y), 282);
}

TEST(WindowLayout, PlacesTakeEachDirectionsOwnFactor) {
  // 4080, 840, 615, 255 twips at 12 twips per pixel across and 20 down.
  const PixelRect got = ToPixels(kControls[kTxtFocus].place, fader::TwipsPerPixel{12, 20});
  EXPECT_EQ(got.left, 340);
  EXPECT_EQ(got.top, 42);
  EXPECT_EQ(got.width, 51);   // 51.25
  EXPECT_EQ(got.height, 13);  // 12.75
}

bool Overlap(const Rect& a, const Rect& b) {
  return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
         b.top < a.top + a.height;
}

TEST(WindowLayout, OnlyTheTwoTextBoxesOverlapAndTheMessageBoxIsAbove) {
  std::vector<std::pair<int, int>> overlaps;
  for (int i = 0; i < kControlCount; ++i) {
    for (int j = i + 1; j < kControlCount; ++j) {
      if (kControls[i].place.width == 0 || kControls[j].place.width == 0) continue;
      if (Overlap(kControls[i].place, kControls[j].place)) overlaps.emplace_back(i, j);
    }
  }
  ASSERT_EQ(overlaps.size(), 1u);
  // Stacking order is table order, topmost first.
  EXPECT_EQ(overlaps[0], std::make_pair(static_cast<int>(kTxtMessage), static_cast<int>(kTxtResult)));
}

std::vector<std::string> Names(const std::vector<ControlId>& ids) {
  std::vector<std::string> out;
  for (ControlId id : ids) out.emplace_back(kControls[id].name);
  return out;
}

TEST(TabOrder, RunsFromThePictureBoxToTheHiddenResultBox) {
  const auto order = TabOrder();
  EXPECT_EQ(Names({order.begin(), order.end()}),
            (std::vector<std::string>{"picBox", "TitleBar", "Color1", "Color2", "Color3", "Color4", "Color5",
                                      "cmdSend", "cmdExit", "cmdMinimize", "txtMessage", "txtFocus",
                                      "txtResult"}));
}

TEST(TabOrder, TabVisitsOnlyControlsThatTakeTheFocusAndWraps) {
  std::vector<ControlId> forward;
  std::optional<ControlId> at = kCmdSend;
  for (int i = 0; i < 7; ++i) {
    at = NextInTabOrder(at, true);
    ASSERT_TRUE(at);
    forward.push_back(*at);
  }
  EXPECT_EQ(Names(forward), (std::vector<std::string>{"cmdExit", "cmdMinimize", "txtMessage", "txtFocus",
                                                      "txtResult", "cmdSend", "cmdExit"}));
  std::vector<ControlId> backward;
  at = kCmdExit;
  for (int i = 0; i < 3; ++i) {
    at = NextInTabOrder(at, false);
    backward.push_back(*at);
  }
  EXPECT_EQ(Names(backward), (std::vector<std::string>{"cmdSend", "txtResult", "txtFocus"}));
}

TEST(TabOrder, StartsAtAnEndFromNoneAndGoesOnFromAControlThatCannotHoldTheFocus) {
  EXPECT_EQ(NextInTabOrder(std::nullopt, true), kCmdSend);
  EXPECT_EQ(NextInTabOrder(std::nullopt, false), kTxtResult);
  EXPECT_EQ(NextInTabOrder(kTmrFade, true), kCmdSend);  // no place in the tab order
  EXPECT_EQ(NextInTabOrder(kTitleBar, true), kCmdSend);
  EXPECT_EQ(NextInTabOrder(kColor3, false), kTxtResult);
}

TEST(TabOrder, SkipsControlsThatAreNotAvailable) {
  auto only_text = [](ControlId id) { return kControls[id].kind == Kind::kTextBox && id != kTxtFocus; };
  EXPECT_EQ(NextInTabOrder(kTxtMessage, true, only_text), kTxtResult);
  EXPECT_EQ(NextInTabOrder(kTxtResult, true, only_text), kTxtMessage);
  EXPECT_EQ(NextInTabOrder(kTxtMessage, false, only_text), kTxtResult);  // backward over the start
  // One control that is not available is stepped over, whichever way.
  ControlId missing = kCmdSend;
  auto all_but = [&](ControlId id) { return id != missing; };
  EXPECT_EQ(NextInTabOrder(kTxtResult, true, all_but), kCmdExit);
  EXPECT_EQ(NextInTabOrder(std::nullopt, true, all_but), kCmdExit);
  missing = kTxtResult;
  EXPECT_EQ(NextInTabOrder(kCmdSend, false, all_but), kTxtFocus);
  auto none = [](ControlId) { return false; };
  EXPECT_FALSE(NextInTabOrder(kCmdSend, true, none));
  EXPECT_FALSE(NextInTabOrder(std::nullopt, false, none));
}

TEST(Fonts, HeightsFollowTheScreen) {
  EXPECT_EQ(FontHeightForDpi(8.25, 96), -11);
  EXPECT_EQ(FontHeightForDpi(8.25, 120), -14);  // 13.75
  EXPECT_EQ(FontHeightForDpi(8.25, 144), -16);  // 16.5, half to even
  // Zero pixels is still a height; only a negative one is refused.
  EXPECT_EQ(FontHeightForDpi(0.375, 96), 0);  // 0.5, half to even
  EXPECT_EQ(FontHeightForDpi(8.25, 0), 0);
  EXPECT_THROW(FontHeightForDpi(8.25, -96), fader::OverflowError);
}

TEST(MouseMessage, PositionIsSignedPixelsTimesTwipsPerPixel) {
  float x = 0, y = 0;
  DecodeMousePosition(515, kTpp, x, y);  // a tray double-click as a mouse move
  EXPECT_EQ(x, 7725.0f);
  EXPECT_EQ(y, 0.0f);
  DecodeMousePosition(516, kTpp, x, y);
  EXPECT_EQ(x, 7740.0f);
  DecodeMousePosition(0xFFFF0001u, kTpp, x, y);  // left of / above the window under capture
  EXPECT_EQ(x, 15.0f);
  EXPECT_EQ(y, -15.0f);
  DecodeMousePosition(0x80007FFFu, kTpp, x, y);
  EXPECT_EQ(x, 32767.0f * 15.0f);
  EXPECT_EQ(y, -32768.0f * 15.0f);
  DecodeMousePosition(0x00020003u, fader::TwipsPerPixel{12, 20}, x, y);  // each direction its own factor
  EXPECT_EQ(x, 36.0f);
  EXPECT_EQ(y, 40.0f);
}

TEST(SkinCompositing, TransparentShowsTheBackgroundOpaqueItsOwnColour) {
  // Premultiplied blue, green, red, alpha.
  const std::array<std::uint8_t, 12> src{0, 0, 0, 0, 10, 20, 200, 255, 0, 0, 128, 128};
  std::array<std::uint8_t, 12> out{};
  fader::CompositeOver(src, 0x00000000, out);
  EXPECT_EQ(out, (std::array<std::uint8_t, 12>{0, 0, 0, 255, 10, 20, 200, 255, 0, 0, 128, 255}));
  fader::CompositeOver(src, 0x00FF8040, out);  // blue 255, green 128, red 64
  EXPECT_EQ(out, (std::array<std::uint8_t, 12>{255, 128, 64, 255, 10, 20, 200, 255, 127, 64, 160, 255}));
}

TEST(SkinCompositing, RefusesMismatchedOrUnpremultipliedPixels) {
  const std::array<std::uint8_t, 4> bad{0, 0, 200, 100};
  std::array<std::uint8_t, 4> out{};
  EXPECT_THROW(fader::CompositeOver(bad, 0, out), std::invalid_argument);
  std::array<std::uint8_t, 8> longer{};
  EXPECT_THROW(fader::CompositeOver(bad, 0, longer), std::invalid_argument);
  const std::array<std::uint8_t, 3> partial{};
  std::array<std::uint8_t, 3> out3{};
  EXPECT_THROW(fader::CompositeOver(partial, 0, out3), std::invalid_argument);
}

}  // namespace
