// Shared by the tests of frmFade: a freshly created window per test, an ear
// on what a control tells it, and small readers of what the window system
// holds.
#pragma once

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "base/gdi_handles_win32.h"
#include "window/frm_fade_win32.h"
#include "window/message_pump_win32.h"

namespace fader::test {

class FrmFadeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form_ = std::make_unique<FrmFade>();
    form_->SetQuitOnDestroy(false);
    ASSERT_TRUE(form_->Create(GetModuleHandleW(nullptr)));
  }
  void TearDown() override {
    form_.reset();
    PumpWindowMessages();
  }
  FrmFade& form() { return *form_; }

  // Shows the window and waits until it is the active one with the focus on
  // one of its controls (at most 5 s), then handles what that queued.
  void ShowAndSettle() {
    form().Show();
    SetForegroundWindow(form().hWnd());
    for (int i = 0; i < 1000; ++i) {
      PumpWindowMessages();
      HWND focus = GetFocus();
      if (GetForegroundWindow() == form().hWnd() && focus && IsChild(form().hWnd(), focus)) break;
      Sleep(5);
    }
    PumpWindowMessages();
  }

  std::unique_ptr<FrmFade> form_;
};

// Takes what one control tells the form (WM_COMMAND, WM_NOTIFY) away from the
// form's handlers to `heard` (the code, and lParam: a WM_NOTIFY's record),
// through a window of the program's own kind, whose procedure stops what
// `heard` throws as the form's does.
class Overhear : public LinkedWindow {
 public:
  static constexpr const char* kWhat = "a test's ear";
  Overhear(HWND form, HWND control, std::function<void(UINT, LPARAM)> heard)
      : form_(form), control_(control), heard_(std::move(heard)) {
    CreateLinkedWindow(this, kWhat, 0, RegisterWindowClass(L"test.Ear", &LinkedWindowProc<Overhear>, nullptr), L"",
                       WS_POPUP, 0, 0, 0, 0, nullptr, 0);
    SetWindowSubclass(form, &Divert, reinterpret_cast<UINT_PTR>(this), reinterpret_cast<DWORD_PTR>(this));
  }
  ~Overhear() { RemoveWindowSubclass(form_, &Divert, reinterpret_cast<UINT_PTR>(this)), DestroyLinkedWindow(hwnd_); }

 private:
  static LRESULT CALLBACK Divert(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR ear) {
    const auto* self = reinterpret_cast<Overhear*>(ear);
    const HWND from = msg == WM_COMMAND  ? reinterpret_cast<HWND>(lp)
                      : msg == WM_NOTIFY ? reinterpret_cast<NMHDR*>(lp)->hwndFrom : nullptr;
    return from && from == self->control_ ? SendMessageW(self->hwnd_, msg, wp, lp) : DefSubclassProc(h, msg, wp, lp);
  }
  LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg != WM_COMMAND && msg != WM_NOTIFY) return DefWindowProcW(hwnd_, msg, wp, lp);
    heard_(msg == WM_COMMAND ? HIWORD(wp) : reinterpret_cast<NMHDR*>(lp)->code, lp);
    return 0;
  }
  HWND form_, control_;
  std::function<void(UINT, LPARAM)> heard_;
};

inline std::wstring ClassOf(HWND h) {
  wchar_t buf[64] = {};
  GetClassNameW(h, buf, 64);
  return buf;
}

inline std::u16string U16(const wchar_t* s) {
  return std::u16string(reinterpret_cast<const char16_t*>(s));
}

// The place of a child in its parent's client coordinates.
inline RECT PlaceInParent(HWND child) {
  RECT rc;
  GetWindowRect(child, &rc);
  MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&rc), 2);
  return rc;
}

inline LOGFONTW FontOf(HWND h) {
  LOGFONTW lf{};
  auto font = reinterpret_cast<HFONT>(SendMessageW(h, WM_GETFONT, 0, 0));
  if (font) GetObjectW(font, sizeof(lf), &lf);
  return lf;
}

// Renders a window's client area with WM_PRINTCLIENT into a bitmap and
// returns the colour (0x00BBGGRR) of one pixel.
inline COLORREF PrintedPixel(HWND h, int x, int y) {
  RECT rc{};
  GetClientRect(h, &rc);
  HDC screen = GetDC(nullptr);
  MemoryDC dc(CreateCompatibleDC(screen));
  Bitmap bitmap(CreateCompatibleBitmap(screen, rc.right, rc.bottom));
  ReleaseDC(nullptr, screen);
  SelectIn selected(dc.get(), bitmap.get());
  SendMessageW(h, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.get()), PRF_CLIENT);
  return GetPixel(dc.get(), x, y);
}

inline bool IsRedShade(COLORREF c) {
  const int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
  return r >= 60 && r > g + 40 && r > b + 40;
}

}  // namespace fader::test
