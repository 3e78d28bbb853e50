// A swatch (Color1 ... Color5): a label without caption or border that shows
// one fade colour as its background. It tells its parent of a click (the
// left button pressed and released over it) as a notifying static control
// does (WM_COMMAND, STN_CLICKED), and of a new colour (kColorChanged).
#pragma once

#include <windows.h>

#include <cstdint>

#include "window/control_win32.h"
#include "window/layout.h"
#include "window/window_link_win32.h"

namespace fader {

class SwatchLabel : public LinkedWindow {
 public:
  static constexpr layout::Kind kKind = layout::Kind::kSwatch;  // in the design table
  static constexpr const wchar_t* kClassName = L"mirtane.Swatch";
  static constexpr const char* kWhat = "a swatch";  // names the kind in the window links

  bool Create(HWND parent, int id, const layout::PixelRect& place, std::int32_t back_color);

  // The colour value shown, 0x00BBGGRR; the swatches are the store of the
  // five fade colours, so this is exactly what was set. Setting it tells the
  // parent: the fade learns of a new colour when it is set.
  std::int32_t BackColor() const { return back_color_; }
  void SetBackColor(std::int32_t value);

 private:
  LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp) override;
  void Paint(HDC dc);

  ControlParent parent_;
  std::int32_t back_color_ = 0;
  bool pressed_ = false;
};

}  // namespace fader
