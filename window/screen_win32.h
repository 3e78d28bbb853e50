// The screen as the window sizes itself for it: twips per pixel for the
// layout's unit conversion, and the layout's fonts at the screen's dots per
// inch.
#pragma once

#include "base/gdi_handles_win32.h"
#include "base/twips.h"
#include "window/layout.h"

namespace fader {

// 1440 / the screen's dots per inch in each direction: 15 at 96 dpi. The
// program is not DPI-aware, so the system reports 96 and scales the window
// as a whole.
TwipsPerPixel ScreenTwipsPerPixel();

// A font of the layout, its height from the screen's vertical dots per inch.
Font MakeFont(const layout::Font& design);

}  // namespace fader
