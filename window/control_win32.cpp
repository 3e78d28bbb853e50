#include "window/control_win32.h"

#include <windowsx.h>

#include <new>
#include <utility>

#include "base/gdi_handles_win32.h"

namespace fader {

namespace {
// The record of the WM_NOTIFY being sent now: the controls all live on the
// program's one thread, and a notification sent inside another puts the
// outer one's back when it returns.
NMHDR* sending = nullptr;
}  // namespace

void ControlParent::Command(HWND control, WORD code) const {
  SendMessageW(window, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(control));
}

void ControlParent::Notify(HWND control, UINT code, NMHDR& header) const {
  header.hwndFrom = control;
  header.idFrom = static_cast<UINT_PTR>(id);
  header.code = code;
  NMHDR* const outer = std::exchange(sending, &header);
  SendMessageW(window, WM_NOTIFY, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(&header));
  sending = outer;
}

NMHDR* SentNotice(LPARAM lparam) {
  return sending && reinterpret_cast<NMHDR*>(lparam) == sending ? sending : nullptr;
}

std::optional<std::u16string> ReadWindowText(HWND hwnd) {
  SetLastError(ERROR_SUCCESS);
  const int length = GetWindowTextLengthW(hwnd);
  if (length == 0 && GetLastError() != ERROR_SUCCESS) return std::nullopt;
  if (length <= 0) return std::u16string();
  std::u16string text(static_cast<std::size_t>(length) + 1, u'\0');
  const int got = GetWindowTextW(hwnd, reinterpret_cast<wchar_t*>(text.data()), length + 1);
  if (got <= 0) return std::nullopt;
  text.resize(static_cast<std::size_t>(got));
  return text;
}

std::u16string WindowText(HWND hwnd) noexcept {
  try {
    return ReadWindowText(hwnd).value_or(std::u16string());
  } catch (const std::bad_alloc&) {
    return {};
  }
}

std::int16_t ShiftState() {
  std::int16_t s = 0;
  if (GetKeyState(VK_SHIFT) < 0) s |= 1;
  if (GetKeyState(VK_CONTROL) < 0) s |= 2;
  if (GetKeyState(VK_MENU) < 0) s |= 4;
  return s;
}

bool MouseInClient(HWND hwnd, LPARAM lparam) {
  RECT rc;
  if (!GetClientRect(hwnd, &rc)) return true;
  const POINT pt{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
  return PtInRect(&rc, pt) != FALSE;
}

std::int16_t ButtonsHeld(WPARAM wparam) {
  std::int16_t b = 0;
  if (wparam & MK_LBUTTON) b |= 1;
  if (wparam & MK_RBUTTON) b |= 2;
  if (wparam & MK_MBUTTON) b |= 4;
  return b;
}

bool HandleFontAndText(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, HFONT& font, LRESULT& result) {
  switch (msg) {
    case WM_SETFONT:
      font = reinterpret_cast<HFONT>(wp);
      if (LOWORD(lp)) InvalidateRect(hwnd, nullptr, TRUE);
      result = 0;
      return true;
    case WM_GETFONT:
      result = reinterpret_cast<LRESULT>(font);
      return true;
    case WM_SETTEXT:
      result = DefWindowProcW(hwnd, msg, wp, lp);
      InvalidateRect(hwnd, nullptr, TRUE);
      return true;
    default:
      return false;
  }
}

void DrawCaption(HDC dc, HWND hwnd, RECT box, HFONT font, COLORREF color) {
  const std::u16string caption = WindowText(hwnd);
  const int old_mode = SetBkMode(dc, TRANSPARENT);
  const COLORREF old_color = SetTextColor(dc, color);
  {
    SelectIn selected(dc, font);
    DrawTextW(dc, reinterpret_cast<const wchar_t*>(caption.c_str()), static_cast<int>(caption.size()), &box,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  }
  SetTextColor(dc, old_color);
  SetBkMode(dc, old_mode);
}

COLORREF ToColorRef(std::int32_t value) {
  const auto v = static_cast<std::uint32_t>(value);
  if (v & 0x80000000u) return GetSysColor(static_cast<int>(v & 0xFFu));
  return static_cast<COLORREF>(v & 0x00FFFFFFu);
}

}  // namespace fader
