// The design tables of frmFade against the figures the layout was drawn from
// (twips, and pixels at 96 dpi), and the rules built on them: tab order,
// places and fonts in pixels, compositing the skin. What the window's
// controls give back exactly (captions, tooltips, fonts but for their size in
// points, colours, the message box's limit) the Windows tier reads from them.
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

TEST(WindowLayout, PlacesAreTheDrawingsFiguresInTwipsAndPixels) {
  struct Expected {
    ControlId id;
    Rect twips;
    PixelRect px;
  };
  const Expected expected[] = {
      {kTxtFocus, {4080, 840, 615, 255}, {272, 56, 41, 17}},   {kTxtMessage, {600, 1080, 2535, 255}, {40, 72, 169, 17}},
      {kCmdSend, {2880, 1680, 495, 255}, {192, 112, 33, 17}},  {kTitleBar, {360, 720, 855, 255}, {24, 48, 57, 17}},
      {kPicBox, {120, 3000, 3750, 3750}, {8, 200, 250, 250}},  {kCmdExit, {3120, 600, 255, 255}, {208, 40, 17, 17}},
      {kCmdMinimize, {2760, 600, 255, 255}, {184, 40, 17, 17}}, {kTxtResult, {600, 1080, 2535, 255}, {40, 72, 169, 17}},
      {kColor5, {1920, 1560, 255, 255}, {128, 104, 17, 17}},   {kColor4, {1560, 1560, 255, 255}, {104, 104, 17, 17}},
      {kColor3, {1200, 1560, 255, 255}, {80, 104, 17, 17}},    {kColor2, {840, 1560, 255, 255}, {56, 104, 17, 17}},
      {kColor1, {480, 1560, 255, 255}, {32, 104, 17, 17}},
  };
  const auto four = [](const auto& r) { return std::array<int, 4>{r.left, r.top, r.width, r.height}; };
  for (const Expected& e : expected) {
    EXPECT_EQ(four(kControls[e.id].place), four(e.twips)) << kControls[e.id].name;
    EXPECT_EQ(four(ToPixels(kControls[e.id].place, kTpp)), four(e.px)) << kControls[e.id].name;
  }
  EXPECT_EQ(kFrmFade.client_width, 5505);
  EXPECT_EQ(kFrmFade.client_height, 4230);
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
  // The only control that can take the focus gets it again.
  auto only_message = [](ControlId id) { return id == kTxtMessage; };
  EXPECT_EQ(NextInTabOrder(kTxtMessage, true, only_message), kTxtMessage);
  EXPECT_EQ(NextInTabOrder(kTxtMessage, false, only_message), kTxtMessage);
  auto none = [](ControlId) { return false; };
  EXPECT_FALSE(NextInTabOrder(kCmdSend, true, none));
  EXPECT_FALSE(NextInTabOrder(std::nullopt, false, none));
}

TEST(Fonts, HeightsFollowTheScreen) {
  // Both fonts are the design's 8.25 points: 8.0 would be 11 pixels at 96 dpi
  // as well, so the font the window reads back cannot tell them apart.
  EXPECT_EQ(kWindowFont.points, 8.25);
  EXPECT_EQ(kSmallButtonFont.points, 8.25);
  EXPECT_EQ(FontHeightForDpi(8.25, 96), -11);
  EXPECT_EQ(FontHeightForDpi(8.25, 120), -14);  // 13.75
  EXPECT_EQ(FontHeightForDpi(8.25, 144), -16);  // 16.5, half to even
  // Zero pixels is still a height; only a negative one is refused.
  EXPECT_EQ(FontHeightForDpi(0.375, 96), 0);  // 0.5, half to even
  EXPECT_EQ(FontHeightForDpi(8.25, 0), 0);
  EXPECT_EQ(FontHeightForDpi(32767, 72), -32767);  // the tallest a font is asked for
  EXPECT_THROW(FontHeightForDpi(8.25, -96), fader::OverflowError);
}

TEST(SkinCompositing, TransparentShowsTheBackgroundOpaqueItsOwnColour) {
  // Premultiplied blue, green, red, alpha; the last two pixels partly
  // transparent (no GIF has them; a direct caller may pass them).
  const std::array<std::uint8_t, 16> src{0, 0, 0, 0, 10, 20, 200, 255, 0, 0, 128, 128, 0, 0, 0, 2};
  std::array<std::uint8_t, 16> out{};
  fader::CompositeOver(src, 0x00000000, out);
  EXPECT_EQ(out, (std::array<std::uint8_t, 16>{0, 0, 0, 255, 10, 20, 200, 255, 0, 0, 128, 255, 0, 0, 0, 255}));
  // Blue 255, green 128, red 64; at alpha 2 red is 64 * 253 / 255 = 63.498, to nearest 63.
  fader::CompositeOver(src, 0x00FF8040, out);
  EXPECT_EQ(out, (std::array<std::uint8_t, 16>{255, 128, 64, 255, 10, 20, 200, 255, 127, 64, 160, 255, 253, 127, 63,
                                               255}));
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
  EXPECT_THROW(fader::ScaleNearest(bad, 2, 1, longer, 2, 1), std::invalid_argument);
  EXPECT_THROW(fader::ScaleNearest({}, 0, 0, out, 1, 1), std::invalid_argument);
}

}  // namespace
