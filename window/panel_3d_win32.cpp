#include "window/panel_3d_win32.h"

#include "base/wide_text_win32.h"

namespace fader {

bool Panel3D::Create(HWND parent, int id, const layout::PixelRect& r, std::u16string_view caption, HFONT font,
                     TwipsPerPixel tpp) {
  font_ = font;
  parent_ = {parent, id};
  tpp_ = tpp;
  const wchar_t* cls = RegisterWindowClass(kClassName, &LinkedWindowProc<Panel3D>, LoadCursorW(nullptr, IDC_ARROW));
  CreateLinkedWindow(this, kWhat, 0, cls, ToWide(caption).c_str(), WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, r.left,
                     r.top, r.width, r.height, parent, id);
  return hwnd_ != nullptr;
}

std::u16string Panel3D::Caption() const { return WindowText(hwnd_); }

HCURSOR Panel3D::Cursor() const {
  const wchar_t* id = IDC_ARROW;
  switch (pointer_) {
    case 2: id = IDC_CROSS; break;
    case 3: id = IDC_IBEAM; break;
    case 4: id = IDC_ICON; break;
    case 5: id = IDC_SIZEALL; break;
    case 6: id = IDC_SIZENESW; break;
    case 7: id = IDC_SIZENS; break;
    case 8: id = IDC_SIZENWSE; break;
    case 9: id = IDC_SIZEWE; break;
    case 10: id = IDC_UPARROW; break;
    case 11: id = IDC_WAIT; break;
    case 12: id = IDC_NO; break;
    case 13: id = IDC_APPSTARTING; break;
    case 14: id = IDC_HELP; break;
    case 15: id = IDC_SIZEALL; break;
    case 16: id = IDC_HAND; break;
    default: break;
  }
  return LoadCursorW(nullptr, id);
}

void Panel3D::SetMousePointer(std::int16_t value) {
  pointer_ = value;
  if (!hwnd_) return;
  // While the panel holds the mouse no WM_SETCURSOR comes, so show it now.
  POINT pt;
  RECT rc;
  const bool over = GetCursorPos(&pt) && GetWindowRect(hwnd_, &rc) && PtInRect(&rc, pt);
  if (GetCapture() == hwnd_ || over) SetCursor(Cursor());
}

void Panel3D::Tell(UINT code, std::int16_t button, LPARAM lp) {
  MouseNotice notice{};
  notice.button = button;
  notice.shift = ShiftState();
  DecodeMousePosition(static_cast<std::uint32_t>(lp), tpp_, notice.x, notice.y);
  parent_.Notify(hwnd_, code, notice.hdr);
}

LRESULT Panel3D::Handle(UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT handled = 0;
  if (HandleCaptionedPaint(hwnd_, msg, wp, lp, [this](HDC dc) { Paint(dc); }, font_, handled)) return handled;
  switch (msg) {
    case WM_SETCURSOR:
      if (LOWORD(lp) == HTCLIENT && pointer_ != 0) {
        SetCursor(Cursor());
        return TRUE;
      }
      break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: {
      if (GetCapture() != hwnd_) SetCapture(hwnd_);
      const std::int16_t b = msg == WM_LBUTTONDOWN ? 1 : msg == WM_RBUTTONDOWN ? 2 : 4;
      Tell(kMouseDown, b, lp);
      return 0;
    }
    case WM_MOUSEMOVE:
      Tell(kMouseMove, ButtonsHeld(wp), lp);
      return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
      // The release's wParam lists the buttons still held.
      if (ButtonsHeld(wp) == 0 && GetCapture() == hwnd_) {
        releasing_ = true;
        ReleaseCapture();
        releasing_ = false;
      }
      const std::int16_t b = msg == WM_LBUTTONUP ? 1 : msg == WM_RBUTTONUP ? 2 : 4;
      Tell(kMouseUp, b, lp);
      return 0;
    }
    case WM_CAPTURECHANGED:
      // Only a loss the panel did not ask for: its own release comes with a
      // kMouseUp.
      if (!releasing_ && reinterpret_cast<HWND>(lp) != hwnd_) {
        MouseNotice notice{};
        parent_.Notify(hwnd_, kCaptureLost, notice.hdr);
      }
      return 0;
  }
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

void Panel3D::Paint(HDC dc) {
  RECT rc{};
  GetClientRect(hwnd_, &rc);
  FillRect(dc, &rc, GetSysColorBrush(COLOR_BTNFACE));
  DrawEdge(dc, &rc, BDR_RAISEDINNER, BF_RECT);
  DrawCaption(dc, hwnd_, rc, font_, GetSysColor(COLOR_BTNTEXT));
}

}  // namespace fader
