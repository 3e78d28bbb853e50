// A text box (txtMessage, txtResult, txtFocus): a one-line edit control with
// its own colours, the text as UTF-16, the focus. Its parent sees each typed
// character before the edit control does (WM_NOTIFY, kKeyPress, with a
// KeyNotice it may change), and hears of changes as from any edit control.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "base/gdi_handles_win32.h"
#include "window/control_win32.h"
#include "window/layout.h"

namespace fader {

class TextBox {
 public:
  static constexpr layout::Kind kKind = layout::Kind::kTextBox;  // in the design table
  TextBox() = default;
  TextBox(const TextBox&) = delete;
  TextBox& operator=(const TextBox&) = delete;
  ~TextBox();

  // max_length 0 leaves the edit control's own limit.
  bool Create(HWND parent, int id, const layout::PixelRect& place, HFONT font, std::int32_t back_color,
              std::int32_t fore_color, int max_length);

  HWND hWnd() const { return hwnd_; }
  // The text; throws std::runtime_error when the box cannot be read, so that
  // a failed read is never taken for an empty box.
  std::u16string Text() const;
  // False when the box did not take the text.
  bool SetText(std::u16string_view text);
  void SetFocus();

  std::int32_t BackColor() const { return back_color_; }

  // Colours a WM_CTLCOLOREDIT (or ...STATIC) for this box: sets the DC's
  // colours and returns the background brush.
  HBRUSH Colorize(HDC dc) const;

 private:
  static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR data);

  HWND hwnd_ = nullptr;
  ControlParent parent_;
  std::int32_t back_color_ = 0x00FFFFFF;
  std::int32_t fore_color_ = 0;
  Brush back_brush_;
};

}  // namespace fader
