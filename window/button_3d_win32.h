// The 3-D push button (cmdSend, cmdExit, cmdMinimize): a raised face with a
// caption in a font of its own, an optional tooltip, and a click by mouse or
// by the space bar, which it tells its parent as a push button does
// (WM_COMMAND, BN_CLICKED). It takes the focus when pressed.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "window/control_win32.h"
#include "window/layout.h"
#include "window/window_link_win32.h"

namespace fader {

class Button3D : public LinkedWindow {
 public:
  static constexpr layout::Kind kKind = layout::Kind::kButton3D;  // in the design table
  static constexpr const wchar_t* kClassName = L"mirtane.Button3D";
  static constexpr const char* kWhat = "a 3-D button";  // names the kind in the window links

  // Creates the button as a child of `parent`; false when it cannot.
  bool Create(HWND parent, int id, const layout::PixelRect& place, std::u16string_view caption, HFONT font,
              std::u16string_view tooltip);

  std::u16string Caption() const;
  // The tooltip control showing the tooltip text, or nullptr when it has none.
  HWND ToolTipWindow() const { return tip_; }

 private:
  LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp) override;
  void Paint(HDC dc);

  ControlParent parent_;
  HWND tip_ = nullptr;
  HFONT font_ = nullptr;
  bool tracking_ = false;  // the left button went down on the button
  bool pressed_ = false;   // drawn pushed in
  bool space_down_ = false;
};

}  // namespace fader
