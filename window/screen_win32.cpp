#include "window/screen_win32.h"

#include <string>

#include "base/twips.h"
#include "base/wide_text_win32.h"

namespace fader {

int WindowDpi(HWND window) {
  // Windows 10's, looked up: XP's user32 lacks it, and the program must load there.
  using DpiForWindow = UINT(WINAPI*)(HWND);
  static const auto for_window = reinterpret_cast<DpiForWindow>(reinterpret_cast<void (*)()>(
      GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  int dpi = window && for_window ? static_cast<int>(for_window(window)) : 0;
  if (dpi <= 0) {
    HDC dc = GetDC(nullptr);
    dpi = dc ? GetDeviceCaps(dc, LOGPIXELSX) : 0;
    if (dc) ReleaseDC(nullptr, dc);
  }
  return SaneDpi(dpi);  // none at all: 96
}

Font MakeFont(const layout::Font& design, int dots_per_inch) {
  LOGFONTW lf{};
  lf.lfHeight = layout::FontHeightForDpi(design.points, dots_per_inch);
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
