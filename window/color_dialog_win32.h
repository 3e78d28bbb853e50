// The colour dialog (cd): ShowColor opens the system's colour dialog, modal
// to its owner; Color is the colour last chosen there.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>

#include "window/layout.h"

namespace fader {

class ColorDialog {
 public:
  static constexpr layout::Kind kKind = layout::Kind::kColorDialog;  // in the design table
  void SetOwner(HWND owner) { owner_ = owner; }

  // Shows the dialog, opening on the current Color. True when the user chose
  // a colour with OK, which then is Color; false on Cancel (or when the dialog
  // could not open), and Color stays as it was.
  bool ShowColor();

  // 0x00BBGGRR.
  std::int32_t Color() const { return color_; }
  void SetColor(std::int32_t value) { color_ = value; }

 private:
  HWND owner_ = nullptr;
  std::int32_t color_ = 0;
  // The dialog's sixteen custom colours last from one opening to the next.
  std::array<COLORREF, 16> custom_{};
  bool custom_set_ = false;
};

}  // namespace fader
