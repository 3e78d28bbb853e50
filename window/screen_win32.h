// The screen as the window sizes itself for it: the dots per inch of the
// screen a window is on, and the layout's fonts at a number of dots per inch.
#pragma once

#include <windows.h>

#include "base/gdi_handles_win32.h"
#include "window/layout.h"

namespace fader {

// The dots per inch the window is laid out at, brought into the sane range
// (SaneDpi). The program declares itself aware of dpi, so the system gives it
// the real figure: the window's own monitor's from Windows 10 on
// (GetDpiForWindow), the screen's before (GetDeviceCaps, which XP to 8.1 give
// every window; 8.1 tells of another monitor by WM_DPICHANGED). Never fails:
// a screen that says nothing is taken as 96.
int WindowDpi(HWND window);

// A font of the layout, its height at `dots_per_inch`.
Font MakeFont(const layout::Font& design, int dots_per_inch);

}  // namespace fader
