// The screen's twips per pixel, as the layout's unit conversion needs them.
#pragma once

namespace fader {

// 1440 / the screen's dots per inch: 15 at 96 dpi. The program is not
// DPI-aware, so the system reports 96 and scales the window as a whole.
double ScreenTwipsPerPixelX();
double ScreenTwipsPerPixelY();

// The screen's dots per inch, vertically (fonts are sized with it).
int ScreenDpiY();

}  // namespace fader
