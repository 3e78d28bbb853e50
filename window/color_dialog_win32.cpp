#include "window/color_dialog_win32.h"

#include <commdlg.h>

namespace fader {

bool ColorDialog::ShowColor() {
  if (!custom_set_) {
    custom_.fill(RGB(255, 255, 255));
    custom_set_ = true;
  }
  CHOOSECOLORW cc{};
  cc.lStructSize = sizeof(cc);
  cc.hwndOwner = owner_;
  cc.rgbResult = static_cast<COLORREF>(static_cast<std::uint32_t>(color_) & 0x00FFFFFFu);
  cc.lpCustColors = custom_.data();
  cc.Flags = CC_RGBINIT | CC_ANYCOLOR;
  // rgbResult may change while the dialog is open even when it is cancelled:
  // only the return value says whether a colour was chosen.
  if (!ChooseColorW(&cc)) return false;
  color_ = static_cast<std::int32_t>(cc.rgbResult & 0x00FFFFFFu);
  return true;
}

}  // namespace fader
