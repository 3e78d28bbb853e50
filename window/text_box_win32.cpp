#include "window/text_box_win32.h"

#include <commctrl.h>

#include <optional>
#include <stdexcept>
#include <utility>

#include "base/wide_text_win32.h"

namespace fader {
namespace {
constexpr UINT_PTR kSubclassId = 1;
}

TextBox::~TextBox() {
  if (hwnd_ && IsWindow(hwnd_)) RemoveWindowSubclass(hwnd_, &TextBox::SubclassProc, kSubclassId);
}

bool TextBox::Create(HWND parent, int id, const layout::PixelRect& r, HFONT font, std::int32_t back_color,
                     std::int32_t fore_color, int max_length) {
  back_color_ = back_color;
  fore_color_ = fore_color;
  parent_ = {parent, id};
  back_brush_.reset(CreateSolidBrush(ToColorRef(back_color)));
  hwnd_ = CreateWindowExW(0, L"Edit", L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP | WS_BORDER |
                          ES_LEFT | ES_AUTOHSCROLL, r.left, r.top, r.width, r.height, parent,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
  if (!hwnd_) return false;
  SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  // Typing and pasting both stop at the limit.
  if (max_length > 0) SendMessageW(hwnd_, EM_SETLIMITTEXT, static_cast<WPARAM>(max_length), 0);
  // Without the subclass no key reaches the parent first, and Enter would
  // never send.
  if (!SetWindowSubclass(hwnd_, &TextBox::SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this))) {
    DestroyWindow(hwnd_);
    hwnd_ = nullptr;
    return false;
  }
  return true;
}

std::u16string TextBox::Text() const {
  if (!hwnd_) return {};
  std::optional<std::u16string> text = ReadWindowText(hwnd_);
  if (!text) throw std::runtime_error("the text box cannot be read");
  return std::move(*text);
}

bool TextBox::SetText(std::u16string_view text) {
  if (!hwnd_) return false;
  return SetWindowTextW(hwnd_, ToWide(text).c_str()) != FALSE;
}

void TextBox::SetFocus() {
  if (hwnd_) ::SetFocus(hwnd_);
}

HBRUSH TextBox::Colorize(HDC dc) const {
  SetTextColor(dc, ToColorRef(fore_color_));
  SetBkColor(dc, ToColorRef(back_color_));
  return back_brush_.get();
}

LRESULT CALLBACK TextBox::SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
  auto* self = reinterpret_cast<TextBox*>(data);
  try {
    switch (msg) {
      case WM_CHAR:
        if (self) {
          KeyNotice notice{};
          notice.key_ascii = static_cast<std::int16_t>(static_cast<std::uint16_t>(wp));
          self->parent_.Notify(hwnd, kKeyPress, notice.hdr);
          if (notice.key_ascii == 0) return 0;
          wp = static_cast<std::uint16_t>(notice.key_ascii);
        }
        break;
      case WM_NCDESTROY:
        // Only the box's real end lets go of it, never a message another
        // program sends.
        if (!link_detail::Destroying() && hwnd == (self ? self->hwnd_ : nullptr)) return 0;
        RemoveWindowSubclass(hwnd, &TextBox::SubclassProc, kSubclassId);
        if (self) self->hwnd_ = nullptr;
        break;
    }
  } catch (...) {
    NoteEscapedException("a text box");
    // The key still reaches the edit control.
  }
  return DefSubclassProc(hwnd, msg, wp, lp);
}

}  // namespace fader
