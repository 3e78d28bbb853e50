// The 3-D panel (TitleBar): a raised face with a caption and a mouse pointer
// that can be set at run time. It tells its parent of a press, a move and a
// release (WM_NOTIFY: kMouseDown, kMouseMove, kMouseUp, with a MouseNotice).
// While a button is down the panel keeps the mouse, so moves and the release
// reach it also outside its bounds; the mouse taken away from it before the
// release (another window set the capture, or the system cancelled it) is
// kCaptureLost: no release will come.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "window/control_win32.h"
#include "window/layout.h"
#include "window/window_link_win32.h"

namespace fader {

class Panel3D : public LinkedWindow {
 public:
  static constexpr layout::Kind kKind = layout::Kind::kPanel3D;  // in the design table
  static constexpr const wchar_t* kClassName = L"mirtane.Panel3D";
  static constexpr const char* kWhat = "the 3-D panel";  // names the kind in the window links

  bool Create(HWND parent, int id, const layout::PixelRect& place, std::u16string_view caption, HFONT font,
              TwipsPerPixel twips_per_pixel);

  std::u16string Caption() const;
  // The factor its mouse notices are given in, from the window's dpi.
  void SetTwipsPerPixel(TwipsPerPixel twips_per_pixel) { tpp_ = twips_per_pixel; }

  // The pointer shape over the panel, by the numbers of the panel's pointer
  // list: 0 the default arrow, 1 arrow, 2 cross, 3 I-beam, 4 icon, 5 size,
  // 6 size NE-SW, 7 size N-S, 8 size NW-SE, 9 size W-E, 10 up arrow,
  // 11 hourglass, 12 no drop, 13 arrow and hourglass, 14 arrow and question
  // mark, 15 size all, 16 the hand that moves the window. Other numbers show
  // the default arrow.
  void SetMousePointer(std::int16_t value);

 private:
  LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp) override;
  void Paint(HDC dc);
  void Tell(UINT code, std::int16_t button, LPARAM lp);
  HCURSOR Cursor() const;

  ControlParent parent_;
  HFONT font_ = nullptr;
  TwipsPerPixel tpp_{kTwipsPerPixelAt96Dpi, kTwipsPerPixelAt96Dpi};
  std::int16_t pointer_ = 0;
  bool releasing_ = false;  // inside the panel's own ReleaseCapture
};

}  // namespace fader
