// The design of the main window frmFade: its own values and those of its
// fifteen controls, in the window's unit (twips), and the rules that go with
// them (places in pixels, tab order). Platform-free: the Win32 window is built
// from these tables.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

#include "base/twips.h"

namespace fader::layout {

// The window's coordinate unit, as ScaleMode reports it: twips (pixels would
// be 3).
inline constexpr std::int16_t kScaleTwips = 1;

enum class Kind {
  kTimer,        // tmrFade, no window
  kTextBox,      // an edit control
  kColorDialog,  // cd, no window
  kButton3D,     // a 3-D push button
  kPanel3D,      // a 3-D panel
  kPictureBox,   // picBox
  kSwatch,       // a label showing one fade colour
};

struct Font {
  std::u16string_view face;
  double points;
  int weight;
  bool italic;
  bool underline;
  bool strike_out;
  int char_set;
};

struct Rect {
  int left, top, width, height;  // twips
};

struct Control {
  std::string_view name;
  Kind kind;
  Rect place;                 // twips; zero for controls without a window
  int tab_index;              // -1: none
  std::u16string_view caption;
  std::u16string_view tooltip;
  std::int32_t back_color;    // 0x00BBGGRR; -1: the control's own default
  std::int32_t fore_color;    // 0x00BBGGRR; -1: the control's own default
  const Font* font;           // nullptr: the window's font
  bool seen;                  // lies on the skin where the user sees it
};

// The window's font, and the italic one of the two small buttons.
inline constexpr Font kWindowFont{u"Arial", 8.25, 400, false, false, false, 0};
inline constexpr Font kSmallButtonFont{u"Arial", 8.25, 400, true, false, false, 0};

struct Window {
  std::u16string_view caption;
  int client_width;   // twips
  int client_height;  // twips
  std::int32_t back_color;
  const Font* font;
};

inline constexpr Window kFrmFade{u"m\u00EDrt\u00E1n\u00E9 \u00B7 b\u00FD grelvin", 5505, 4230, 0x00000000,
                                 &kWindowFont};

// Indices into kControls, which is in stacking order: the first is topmost.
enum ControlId : int {
  kTmrFade, kTxtFocus, kCd, kTxtMessage, kCmdSend, kTitleBar, kPicBox, kCmdExit, kCmdMinimize,
  kTxtResult, kColor5, kColor4, kColor3, kColor2, kColor1, kControlCount
};

inline constexpr std::int32_t kTextBack = 0x00FFFFFF;
inline constexpr std::int32_t kTextFore = 0x000000FF;

inline constexpr std::array<Control, kControlCount> kControls{{
    {"tmrFade", Kind::kTimer, {0, 0, 0, 0}, -1, u"", u"", -1, -1, nullptr, false},
    {"txtFocus", Kind::kTextBox, {4080, 840, 615, 255}, 11, u"", u"", kTextBack, kTextFore, nullptr, false},
    {"cd", Kind::kColorDialog, {0, 0, 0, 0}, -1, u"", u"", -1, -1, nullptr, false},
    {"txtMessage", Kind::kTextBox, {600, 1080, 2535, 255}, 10, u"", u"", kTextBack, kTextFore, nullptr, true},
    {"cmdSend", Kind::kButton3D, {2880, 1680, 495, 255}, 7, u"send", u"", -1, -1, nullptr, true},
    {"TitleBar", Kind::kPanel3D, {360, 720, 855, 255}, 1, u"m\u00EDrt\u00E1n\u00E9", u"", -1, -1, nullptr, true},
    {"picBox", Kind::kPictureBox, {120, 3000, 3750, 3750}, 0, u"", u"", 0x00000000, -1, nullptr, false},
    {"cmdExit", Kind::kButton3D, {3120, 600, 255, 255}, 8, u"x", u"exit", -1, -1, &kSmallButtonFont, true},
    {"cmdMinimize", Kind::kButton3D, {2760, 600, 255, 255}, 9, u"-", u"minimize", -1, -1, &kSmallButtonFont, true},
    // Under txtMessage, in the same place: it holds the rendered line and is never seen.
    {"txtResult", Kind::kTextBox, {600, 1080, 2535, 255}, 12, u"", u"", kTextBack, kTextFore, nullptr, false},
    {"Color5", Kind::kSwatch, {1920, 1560, 255, 255}, 6, u"", u"", 0x00000000, -1, nullptr, true},
    {"Color4", Kind::kSwatch, {1560, 1560, 255, 255}, 5, u"", u"", 0x00FF8080, -1, nullptr, true},
    {"Color3", Kind::kSwatch, {1200, 1560, 255, 255}, 4, u"", u"", 0x00E0E0E0, -1, nullptr, true},
    {"Color2", Kind::kSwatch, {840, 1560, 255, 255}, 3, u"", u"", 0x00FF0000, -1, nullptr, true},
    {"Color1", Kind::kSwatch, {480, 1560, 255, 255}, 2, u"", u"", 0x000000FF, -1, nullptr, true},
}};

// The timer's interval in milliseconds; it is enabled from the start.
inline constexpr int kTimerIntervalMs = 1;

// txtMessage takes at most this many characters, typed or pasted.
inline constexpr int kMessageMaxLength = 32767;

// The controls that have a place in the tab order, first to last.
std::array<ControlId, 13> TabOrder();

// The control that Tab (forward) or Shift+Tab (backward) moves the focus to
// from `current`, wrapping at either end. It skips the controls that cannot
// take the focus (only the text boxes and the 3-D buttons can: not the panel,
// the swatches or the picture box, a pixel source that is never seen) and
// those that `available` rejects (a disabled window, say). From a control
// outside the tab order (or none) it starts at the first (forward) or last
// (backward). nullopt when no control qualifies.
std::optional<ControlId> NextInTabOrder(std::optional<ControlId> current, bool forward,
                                        const std::function<bool(ControlId)>& available = nullptr);

// A font's cell height in pixels, negative as LOGFONT wants it for a
// character height: -round(points * dpi / 72).
std::int32_t FontHeightForDpi(double points, int dots_per_inch);

// A control's place in pixels: left and width through the horizontal factor,
// top and height through the vertical one, each rounded as TwipsToPixels
// does.
struct PixelRect {
  std::int32_t left, top, width, height;
};
PixelRect ToPixels(const Rect& twips, TwipsPerPixel twips_per_pixel);


}  // namespace fader::layout
