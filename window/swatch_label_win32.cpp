#include "window/swatch_label_win32.h"

#include "base/gdi_handles_win32.h"

namespace fader {

bool SwatchLabel::Create(HWND parent, int id, const layout::PixelRect& r, std::int32_t back_color) {
  back_color_ = back_color;
  parent_ = {parent, id};
  const wchar_t* cls = RegisterWindowClass(kClassName, &LinkedWindowProc<SwatchLabel>, LoadCursorW(nullptr, IDC_ARROW));
  CreateLinkedWindow(this, kWhat, 0, cls, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS,
                     r.left, r.top, r.width, r.height, parent, id);
  return hwnd_ != nullptr;
}

void SwatchLabel::SetBackColor(std::int32_t value) {
  back_color_ = value;
  if (!hwnd_) return;
  InvalidateRect(hwnd_, nullptr, FALSE);
  parent_.Command(hwnd_, kColorChanged);
}

LRESULT SwatchLabel::Handle(UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT painted = 0;
  if (HandlePaintMessages(hwnd_, msg, wp, [this](HDC dc) { Paint(dc); }, painted)) return painted;
  switch (msg) {
    case WM_LBUTTONDOWN:
      pressed_ = true;
      SetCapture(hwnd_);
      return 0;
    case WM_LBUTTONUP: {
      if (!pressed_) return 0;
      pressed_ = false;
      ReleaseCapture();
      if (MouseInClient(hwnd_, lp)) parent_.Command(hwnd_, STN_CLICKED);
      return 0;
    }
    case WM_CAPTURECHANGED:
      pressed_ = false;
      return 0;
  }
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

void SwatchLabel::Paint(HDC dc) {
  RECT rc{};
  GetClientRect(hwnd_, &rc);
  Brush brush(CreateSolidBrush(ToColorRef(back_color_)));
  FillRect(dc, &rc, brush.get());
}

}  // namespace fader
