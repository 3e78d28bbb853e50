#include "window/button_3d_win32.h"

#include <commctrl.h>

#include "base/wide_text_win32.h"

namespace fader {

bool Button3D::Create(HWND parent, int id, const layout::PixelRect& r, std::u16string_view caption, HFONT font,
                      std::u16string_view tooltip) {
  font_ = font;
  parent_ = {parent, id};
  const wchar_t* cls = RegisterWindowClass(kClassName, &LinkedWindowProc<Button3D>, LoadCursorW(nullptr, IDC_ARROW));
  CreateLinkedWindow(this, kWhat, 0, cls, ToWide(caption).c_str(), WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP,
                     r.left, r.top, r.width, r.height, parent, id);
  if (!hwnd_) return false;
  if (!tooltip.empty()) {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    // Not owned by the top-level window: Wine stacks a window made topmost
    // below its owned topmost popups and so never makes it topmost. The
    // button destroys its tooltip itself.
    tip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                           CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
    if (tip_) {
      const std::wstring tip_text = ToWide(tooltip);
      TOOLINFOW ti{};
      ti.cbSize = sizeof(ti);
      ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
      ti.hwnd = parent;
      ti.uId = reinterpret_cast<UINT_PTR>(hwnd_);
      ti.lpszText = const_cast<wchar_t*>(tip_text.c_str());
      SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
    }
  }
  return true;
}

std::u16string Button3D::Caption() const { return WindowText(hwnd_); }

LRESULT Button3D::Handle(UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT handled = 0;
  if (HandleCaptionedPaint(hwnd_, msg, wp, lp, [this](HDC dc) { Paint(dc); }, font_, handled)) return handled;
  switch (msg) {
    case WM_GETDLGCODE:
      return DLGC_BUTTON;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
      if (msg == WM_KILLFOCUS && space_down_) {
        space_down_ = false;
        pressed_ = false;
      }
      InvalidateRect(hwnd_, nullptr, TRUE);
      return 0;
    case WM_LBUTTONDOWN:
      SetFocus(hwnd_);
      SetCapture(hwnd_);
      tracking_ = true;
      pressed_ = true;
      InvalidateRect(hwnd_, nullptr, TRUE);
      return 0;
    case WM_MOUSEMOVE:
      if (tracking_) {
        const bool inside = MouseInClient(hwnd_, lp);
        if (inside != pressed_) {
          pressed_ = inside;
          InvalidateRect(hwnd_, nullptr, TRUE);
        }
      }
      return 0;
    case WM_LBUTTONUP: {
      if (!tracking_) return 0;
      const bool inside = MouseInClient(hwnd_, lp);
      tracking_ = false;
      pressed_ = false;
      ReleaseCapture();
      InvalidateRect(hwnd_, nullptr, TRUE);
      UpdateWindow(hwnd_);
      if (inside) parent_.Command(hwnd_, BN_CLICKED);
      return 0;
    }
    case WM_CAPTURECHANGED:
      if (tracking_) {
        tracking_ = false;
        pressed_ = false;
        InvalidateRect(hwnd_, nullptr, TRUE);
      }
      return 0;
    case WM_KEYDOWN:
      if (wp == VK_SPACE && !tracking_ && !(lp & (1 << 30))) {
        space_down_ = true;
        pressed_ = true;
        InvalidateRect(hwnd_, nullptr, TRUE);
      }
      return 0;
    case WM_KEYUP:
      if (wp == VK_SPACE && space_down_) {
        space_down_ = false;
        pressed_ = false;
        InvalidateRect(hwnd_, nullptr, TRUE);
        UpdateWindow(hwnd_);
        parent_.Command(hwnd_, BN_CLICKED);
      }
      return 0;
    case WM_DESTROY:
      if (tip_) DestroyWindow(tip_);
      tip_ = nullptr;
      break;
  }
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

void Button3D::Paint(HDC dc) {
  RECT rc{};
  GetClientRect(hwnd_, &rc);
  FillRect(dc, &rc, GetSysColorBrush(COLOR_BTNFACE));
  DrawEdge(dc, &rc, pressed_ ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
  RECT text = rc;
  if (pressed_) OffsetRect(&text, 1, 1);
  DrawCaption(dc, hwnd_, text, font_, GetSysColor(IsWindowEnabled(hwnd_) ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
  if (GetFocus() == hwnd_) {
    RECT focus = rc;
    InflateRect(&focus, -3, -3);
    if (focus.right > focus.left && focus.bottom > focus.top) DrawFocusRect(dc, &focus);
  }
}

}  // namespace fader
