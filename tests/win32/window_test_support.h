// Shared by the tests of frmFade: a freshly created window per test, and
// small readers of what the window system holds.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "base/gdi_handles_win32.h"
#include "window/frm_fade.h"
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
