// What the small controls of frmFade share: the window-object link, text
// conversion at the Win32 boundary, the mouse event arguments, colour values.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace fader {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Win32 text is UTF-16");

inline const wchar_t* Wide(std::u16string_view s, std::wstring& keep) {
  keep.assign(s.begin(), s.end());
  return keep.c_str();
}

// The text of any window, as UTF-16.
std::u16string WindowText(HWND hwnd);

// The shift state of a mouse or key event: 1 Shift, 2 Ctrl, 4 Alt.
std::int16_t ShiftState();

// The buttons held, from a mouse message's wParam: 1 left, 2 right, 4 middle.
std::int16_t ButtonsHeld(WPARAM wparam);

// A colour value (0x00BBGGRR) as GDI takes it; one with the high bit set
// names a system colour by its low byte.
COLORREF ToColorRef(std::int32_t value);

// Registers a window class of the program once per process; later calls
// only return the class name.
const wchar_t* RegisterControlClass(const wchar_t* name, WNDPROC proc, HCURSOR cursor);

// The paint messages an owner-drawn control answers alike: paint on WM_PAINT
// and WM_PRINTCLIENT, and no erasing, since its painting covers the whole
// client area. True when msg was one of them; result then holds the answer.
template <typename PaintFn>
bool HandlePaintMessages(HWND hwnd, UINT msg, WPARAM wp, PaintFn&& paint, LRESULT& result) {
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
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

// The object behind a control window, stored at WM_NCCREATE from the
// creation parameter and cleared at WM_NCDESTROY.
template <typename T>
T* ControlFromWindow(HWND hwnd, UINT msg, LPARAM lparam) {
  if (msg == WM_NCCREATE) {
    auto* self = static_cast<T*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    if (self) self->AttachWindow(hwnd);
    return self;
  }
  return reinterpret_cast<T*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

// Reports a C++ exception that reached a window procedure; the procedure then
// goes on as if the message had been handled.
void NoteEscapedException(const char* where) noexcept;

// The window procedure of an owner-drawn control class T: the object behind
// the window handles the message (T::Handle), and no exception gets past it
// (noted under T::kWhat; the message counts as handled). At WM_NCDESTROY the
// object lets go of its window before the default handling.
template <typename T>
LRESULT CALLBACK ControlProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  T* self = ControlFromWindow<T>(hwnd, msg, lp);
  if (!self || !self->hWnd()) return DefWindowProcW(hwnd, msg, wp, lp);
  if (msg == WM_NCDESTROY) {
    self->AttachWindow(nullptr);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    return DefWindowProcW(hwnd, msg, wp, lp);
  }
  try {
    return self->Handle(msg, wp, lp);
  } catch (...) {
    NoteEscapedException(T::kWhat);
    return 0;
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
