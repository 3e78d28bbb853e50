// What the small controls of frmFade share: how they tell their parent of
// their events, the text of a window, the mouse event arguments, colour
// values, paint and caption messages.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "window/window_link_win32.h"

namespace fader {

// Notification codes of the program's own controls. A swatch's new colour
// comes as WM_COMMAND, past the codes of a static control (STN_CLICKED to
// STN_DISABLE, 0 to 3). The key press of a text box and the 3-D panel's mouse
// come as WM_NOTIFY with a record: their codes lie above every 16-bit
// WM_COMMAND code, so no WM_COMMAND passes for one, and apart from the common
// controls' codes, which are negative.
inline constexpr WORD kColorChanged = 0x0100;
enum : UINT { kKeyPress = 0x10000, kMouseDown, kMouseMove, kMouseUp, kCaptureLost };

// kKeyPress: the typed character as a 16-bit key code. The character goes on
// to the edit control as the parent leaves it; 0 swallows it.
struct KeyNotice {
  NMHDR hdr;
  std::int16_t key_ascii;
};

// kMouseDown, kMouseUp: the button (1 left, 2 right, 4 middle); kMouseMove:
// the buttons held, as a set. The shift state and the pointer's place in
// twips, relative to the control. kCaptureLost carries nothing more.
struct MouseNotice {
  NMHDR hdr;
  std::int16_t button;
  std::int16_t shift;
  float x;
  float y;
};

// Where a control tells of its events, as Windows' own controls do: the
// window it was made in, and its identifier there.
struct ControlParent {
  HWND window = nullptr;
  int id = 0;
  // WM_COMMAND with the identifier and `code`, the control's window in lParam.
  void Command(HWND control, WORD code) const;
  // WM_NOTIFY with the record that `header` begins, once its header names
  // the control, its identifier and `code`.
  void Notify(HWND control, UINT code, NMHDR& header) const;
};

// The record of the WM_NOTIFY a control of the program is sending now, if
// `lparam` is it; nullptr for any other, so that a WM_NOTIFY from another
// program is never read.
NMHDR* SentNotice(LPARAM lparam);

// The text of any window, as UTF-16, as far as it can be had: empty when the
// system or memory gives out (a caption then shows nothing). A text box's own
// reading tells failure from empty (TextBox::Text).
std::u16string WindowText(HWND hwnd) noexcept;

// The text of a window; nothing when the system cannot give it, which an
// empty text is not. Throws std::bad_alloc.
std::optional<std::u16string> ReadWindowText(HWND hwnd);

// The shift state of a mouse or key event: 1 Shift, 2 Ctrl, 4 Alt.
std::int16_t ShiftState();

// Whether a mouse message's point (its lParam) lies in the window's client
// area. A size the system cannot tell counts as inside: a release then
// counts where the press was.
bool MouseInClient(HWND hwnd, LPARAM lparam);

// The buttons held, from a mouse message's wParam: 1 left, 2 right, 4 middle.
std::int16_t ButtonsHeld(WPARAM wparam);

// A colour value (0x00BBGGRR) as GDI takes it; one with the high bit set
// names a system colour by its low byte.
COLORREF ToColorRef(std::int32_t value);

// The paint messages an owner-drawn control answers alike: paint on WM_PAINT
// and WM_PRINTCLIENT, and no erasing, since its painting covers the whole
// client area. True when msg was one of them; result then holds the answer.
template <typename PaintFn>
bool HandlePaintMessages(HWND hwnd, UINT msg, WPARAM wp, PaintFn&& paint, LRESULT& result) {
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      if (!dc) {
        // Left invalid, the window would get WM_PAINT again and again and
        // nothing else; the default handling validates it.
        result = DefWindowProcW(hwnd, msg, wp, 0);
        return true;
      }
      paint(dc);
      EndPaint(hwnd, &ps);
      result = 0;
      return true;
    }
    case WM_PRINTCLIENT:
      paint(reinterpret_cast<HDC>(wp));
      result = 0;
      return true;
    case WM_ERASEBKGND:
      result = 1;
      return true;
    default:
      return false;
  }
}

// The font and caption messages of a control that draws its own caption: it
// keeps the font it is given and repaints when the font or the text change.
// True when msg was one of them; result then holds the answer.
bool HandleFontAndText(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, HFONT& font, LRESULT& result);

// The paint, font and caption messages of a control that draws its own
// caption, as the two functions above answer them.
template <typename PaintFn>
bool HandleCaptionedPaint(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, PaintFn&& paint, HFONT& font,
                          LRESULT& result) {
  return HandlePaintMessages(hwnd, msg, wp, paint, result) || HandleFontAndText(hwnd, msg, wp, lp, font, result);
}

// Draws the window's text as such a control's caption: one line centred in
// `box`, in `font` (the DC's own when null) and `color`, with no background.
// The DC's mode, colour and font are put back afterwards.
void DrawCaption(HDC dc, HWND hwnd, RECT box, HFONT font, COLORREF color);

}  // namespace fader
