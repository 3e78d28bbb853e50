#include "window/screen_win32.h"

#include <windows.h>

#include "window/gdi_handles_win32.h"
#include "window/layout.h"

namespace fader {
namespace {

int ScreenCaps(int index) {
  HDC dc = GetDC(nullptr);
  const int v = dc ? GetDeviceCaps(dc, index) : 0;
  if (dc) ReleaseDC(nullptr, dc);
  return v > 0 ? v : 96;  // a screen that reports nothing is taken as 96 dpi
}

}  // namespace

double ScreenTwipsPerPixelX() { return layout::TwipsPerPixelForDpi(ScreenCaps(LOGPIXELSX)); }
double ScreenTwipsPerPixelY() { return layout::TwipsPerPixelForDpi(ScreenCaps(LOGPIXELSY)); }
int ScreenDpiY() { return ScreenCaps(LOGPIXELSY); }

Font MakeFont(const wchar_t* face, double points, int weight, bool italic, bool underline, bool strike_out,
              int char_set) {
  LOGFONTW lf{};
  lf.lfHeight = layout::FontHeightForDpi(points, ScreenDpiY());
  lf.lfWeight = weight;
  lf.lfItalic = italic ? TRUE : FALSE;
  lf.lfUnderline = underline ? TRUE : FALSE;
  lf.lfStrikeOut = strike_out ? TRUE : FALSE;
  lf.lfCharSet = static_cast<BYTE>(char_set);
  lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
  lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  lf.lfQuality = DEFAULT_QUALITY;
  lf.lfPitchAndFamily = DEFAULT_PITCH | FF_SWISS;
  lstrcpynW(lf.lfFaceName, face, LF_FACESIZE);
  return Font(CreateFontIndirectW(&lf));
}

}  // namespace fader
