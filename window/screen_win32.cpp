#include "window/screen_win32.h"

#include <windows.h>

#include <string>

#include "base/wide_text_win32.h"

namespace fader {
namespace {

int ScreenCaps(int index) {
  HDC dc = GetDC(nullptr);
  const int v = dc ? GetDeviceCaps(dc, index) : 0;
  if (dc) ReleaseDC(nullptr, dc);
  return v > 0 ? v : 96;  // a screen that reports nothing is taken as 96 dpi
}

}  // namespace

TwipsPerPixel ScreenTwipsPerPixel() {
  return TwipsPerPixel{TwipsPerPixelForDpi(ScreenCaps(LOGPIXELSX)), TwipsPerPixelForDpi(ScreenCaps(LOGPIXELSY))};
}

Font MakeFont(const layout::Font& design) {
  LOGFONTW lf{};
  lf.lfHeight = layout::FontHeightForDpi(design.points, ScreenCaps(LOGPIXELSY));
  lf.lfWeight = design.weight;
  lf.lfItalic = design.italic ? TRUE : FALSE;
  lf.lfUnderline = design.underline ? TRUE : FALSE;
  lf.lfStrikeOut = design.strike_out ? TRUE : FALSE;
  lf.lfCharSet = static_cast<BYTE>(design.char_set);
  lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
  lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  lf.lfQuality = DEFAULT_QUALITY;
  lf.lfPitchAndFamily = DEFAULT_PITCH | FF_SWISS;
  lstrcpynW(lf.lfFaceName, ToWide(design.face).c_str(), LF_FACESIZE);
  return Font(CreateFontIndirectW(&lf));
}

}  // namespace fader
