// The window's outline on GDI: MakeRegion reads the picture box's pixels with
// GetPixel and merges one rectangle region per run into the window's region.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>

#include "base/gdi_handles_win32.h"
#include "desktop/region.h"

namespace fader {

// Gives the picture box's device context; it is asked anew for every pixel,
// as a picture box hands out its DC on each request.
using PictureDC = std::function<HDC()>;

// The region of all pixels of the picture whose colour differs from the
// transparent colour, built as the scan in region.h describes (a colour below
// 1 is replaced by that of pixel (0, 0) and written back). Pixels are read
// with GetPixel; each run becomes a CreateRectRgn that is merged with
// CombineRgn(RGN_OR) and deleted at once, so at most two region handles are
// alive. A rectangle region the system refuses adds nothing. Throws
// OverflowError for a size beyond 32 bits (nothing is created then); the
// accumulating region is freed if the DC callback throws.
Region MakeRegion(const PictureDC& picture_dc, PictureTwips picture,
                  TwipsPerPixel twips_per_pixel, std::int32_t& transparent);

// Applies a region to the window with SetWindowRgn (redraw TRUE) and returns
// its handle for the window to keep. Once applied the system owns it; if the
// system refuses it, it is freed here and 0 comes back. An empty region (a
// picture that did not decode is all one colour) is never applied: it would
// leave nothing of the window to see or click. It is freed, the window keeps
// the shape it has, and 0 comes back.
HRGN ApplyWindowRegion(HWND window, Region region);

}  // namespace fader
