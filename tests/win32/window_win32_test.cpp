// frmFade as the window system sees it: frame, size, place, unit, stacking,
// focus and tab order, what it paints, and the pixels of its picture box.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "base/overflow_error.h"
#include "tests/win32/window_test_support_win32.h"
#include "window/layout.h"
#include "window/resource_ids.h"
#include "window/skin_image_win32.h"

namespace fader::test {
namespace {

using namespace fader::layout;

TEST_F(FrmFadeTest, IsAHiddenBorderlessWindowWithATaskbarButton) {
  HWND h = form().hWnd();
  EXPECT_EQ(ClassOf(h), L"frmFade");
  EXPECT_FALSE(IsWindowVisible(h));
  const LONG_PTR style = GetWindowLongPtrW(h, GWL_STYLE);
  EXPECT_TRUE(style & WS_POPUP);
  EXPECT_FALSE(style & (WS_CAPTION | WS_BORDER | WS_DLGFRAME | WS_THICKFRAME | WS_SYSMENU | WS_MINIMIZEBOX |
                        WS_MAXIMIZEBOX));
  const LONG_PTR ex = GetWindowLongPtrW(h, GWL_EXSTYLE);
  EXPECT_TRUE(ex & WS_EX_APPWINDOW);
  EXPECT_FALSE(ex & (WS_EX_TOOLWINDOW | WS_EX_CLIENTEDGE | WS_EX_WINDOWEDGE | WS_EX_DLGMODALFRAME));
  EXPECT_EQ(form().Caption(), u"m\u00EDrt\u00E1n\u00E9 \u00B7 b\u00FD grelvin");
  EXPECT_EQ(form().ScaleMode(), 1);
}

TEST_F(FrmFadeTest, ClientAreaIs367By282PixelsFromTheTopLeftCornerAndCentred) {
  HWND h = form().hWnd();
  RECT client, win;
  GetClientRect(h, &client);
  GetWindowRect(h, &win);
  EXPECT_EQ(client.right, 367);
  EXPECT_EQ(client.bottom, 282);
  POINT origin{0, 0};
  ClientToScreen(h, &origin);
  EXPECT_EQ(origin.x, win.left);
  EXPECT_EQ(origin.y, win.top);
  EXPECT_EQ(win.right - win.left, 367);
  EXPECT_EQ(win.bottom - win.top, 282);
  EXPECT_EQ(win.left, (GetSystemMetrics(SM_CXSCREEN) - 367) / 2);
  EXPECT_EQ(win.top, (GetSystemMetrics(SM_CYSCREEN) - 282) / 2);
}

TEST_F(FrmFadeTest, LeftAndTopAreTwipsAndMoveTheWindow) {
  HWND h = form().hWnd();
  RECT win;
  GetWindowRect(h, &win);
  EXPECT_EQ(form().Left(), static_cast<float>(win.left * 15));
  EXPECT_EQ(form().Top(), static_cast<float>(win.top * 15));
  form().SetLeft(1500.0f);
  form().SetTop(757.5f);  // 50.5 pixels: the half goes to the even 50
  GetWindowRect(h, &win);
  EXPECT_EQ(win.left, 100);
  EXPECT_EQ(win.top, 50);
  EXPECT_EQ(win.right - win.left, 367);
  EXPECT_EQ(form().Left(), 1500.0f);
  EXPECT_EQ(form().Top(), 750.0f);
  form().SetLeft(-300.0f);  // partly off screen is a place like any other
  GetWindowRect(h, &win);
  EXPECT_EQ(win.left, -20);
  EXPECT_THROW(form().SetLeft(1e12f), fader::OverflowError);
  GetWindowRect(h, &win);
  EXPECT_EQ(win.left, -20);
}

TEST_F(FrmFadeTest, ShowAndHide) {
  form().Show();
  EXPECT_TRUE(IsWindowVisible(form().hWnd()));
  form().Hide();
  EXPECT_FALSE(IsWindowVisible(form().hWnd()));
  form().Show();
  EXPECT_TRUE(IsWindowVisible(form().hWnd()));
}

TEST_F(FrmFadeTest, ChildrenAreStackedInTheDesignedOrder) {
  std::vector<HWND> expected;
  for (int i = 0; i < kControlCount; ++i) {
    if (HWND h = form().ControlWindow(static_cast<ControlId>(i))) expected.push_back(h);
  }
  ASSERT_EQ(expected.size(), 13u);
  std::vector<HWND> actual;
  for (HWND c = GetWindow(form().hWnd(), GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) actual.push_back(c);
  EXPECT_EQ(actual, expected);

  // Where the two text boxes lie, the point belongs to txtMessage.
  POINT mid{40 + 169 / 2, 72 + 8};
  EXPECT_EQ(ChildWindowFromPointEx(form().hWnd(), mid, CWP_ALL), form().txtMessage.hWnd());
  ShowAndSettle();
  ClientToScreen(form().hWnd(), &mid);
  EXPECT_EQ(WindowFromPoint(mid), form().txtMessage.hWnd());
}

TEST_F(FrmFadeTest, FirstFocusIsTheFirstControlInTabOrderThatTakesIt) {
  ShowAndSettle();
  EXPECT_EQ(GetFocus(), form().cmdSend.hWnd());
}

TEST_F(FrmFadeTest, TabAndShiftTabFollowTheTabOrder) {
  ShowAndSettle();
  SetFocus(form().cmdSend.hWnd());
  const HWND forward[] = {form().cmdExit.hWnd(),   form().cmdMinimize.hWnd(), form().txtMessage.hWnd(),
                          form().txtFocus.hWnd(),  form().txtResult.hWnd(),   form().cmdSend.hWnd()};
  for (HWND expected : forward) {
    // A real Tab key message, through the same pump the fade uses.
    PostMessageW(GetFocus(), WM_KEYDOWN, VK_TAB, 0x000F0001);
    PumpWindowMessages();
    EXPECT_EQ(GetFocus(), expected);
  }
  // Tab never reached an edit control as a character.
  EXPECT_EQ(form().txtMessage.Text(), u"");
  EXPECT_EQ(form().txtFocus.Text(), u"");
  form().MoveFocus(false);
  EXPECT_EQ(GetFocus(), form().txtResult.hWnd());
  form().MoveFocus(false);
  EXPECT_EQ(GetFocus(), form().txtFocus.hWnd());
}

TEST_F(FrmFadeTest, TabSkipsADisabledControl) {
  ShowAndSettle();
  SetFocus(form().cmdSend.hWnd());
  EnableWindow(form().cmdExit.hWnd(), FALSE);
  form().MoveFocus(true);
  EXPECT_EQ(GetFocus(), form().cmdMinimize.hWnd());
}

TEST_F(FrmFadeTest, TxtFocusTakesTheFocusThoughItIsNeverSeen) {
  ShowAndSettle();
  form().txtFocus.SetFocus();
  EXPECT_EQ(GetFocus(), form().txtFocus.hWnd());
  // And keeps it across hiding and showing again.
  form().Hide();
  PumpWindowMessages();
  ShowAndSettle();
  EXPECT_EQ(GetFocus(), form().txtFocus.hWnd());
}

TEST_F(FrmFadeTest, PaintsTheSkinOnBlackAtTheTopLeft) {
  HWND h = form().hWnd();
  EXPECT_EQ(PrintedPixel(h, 0, 0), RGB(0, 0, 0));
  EXPECT_EQ(PrintedPixel(h, 300, 250), RGB(0, 0, 0));  // beyond the skin
  EXPECT_EQ(PrintedPixel(h, 125, 20), RGB(0, 0, 0));   // transparent rows
  // Inside the outline the window shows exactly what the picture box holds.
  const POINT inside[] = {{20, 60}, {120, 95}, {150, 115}, {205, 100}};
  for (const POINT& p : inside) {
    const COLORREF c = PrintedPixel(h, p.x, p.y);
    EXPECT_TRUE(IsRedShade(c)) << p.x << "," << p.y;
    EXPECT_EQ(c, GetPixel(form().picBox.hDC(), p.x, p.y)) << p.x << "," << p.y;
  }
}

// The skin decoded over white: white where it is transparent, its own colour
// where it is opaque (the palette's white is the transparent entry only).
SkinImage SkinOverWhite() {
  SkinImage img;
  EXPECT_TRUE(img.Load(GetModuleHandleW(nullptr), FADER_IDR_SKIN, 0x00FFFFFF));
  return img;
}

TEST_F(FrmFadeTest, PictureBoxReadsTheSkinOverBlackBeforeTheWindowIsShown) {
  ASSERT_FALSE(IsWindowVisible(form().hWnd()));
  HDC box = form().picBox.hDC();
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(form().picBox.Width(), 3750.0f);
  EXPECT_EQ(form().picBox.Height(), 3750.0f);
  EXPECT_EQ(GetPixel(box, 0, 0), RGB(0, 0, 0));

  SkinImage white = SkinOverWhite();
  ASSERT_EQ(white.Width(), 250);
  ASSERT_EQ(white.Height(), 250);
  HDC ref = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(ref, white.Bitmap());
  int transparent = 0, rim = 0, red = 0, wrong = 0;
  for (int y = 0; y < 250; ++y) {
    for (int x = 0; x < 250; ++x) {
      const COLORREF want = GetPixel(ref, x, y);
      const COLORREF got = GetPixel(box, x, y);
      if (want == RGB(255, 255, 255)) {
        ++transparent;
        wrong += got != RGB(0, 0, 0);
      } else if (want == RGB(0, 0, 0)) {
        ++rim;
        wrong += got != RGB(0, 0, 0);
      } else {
        red += IsRedShade(got);
        wrong += got != want;
      }
    }
  }
  SelectObject(ref, old);
  DeleteDC(ref);
  EXPECT_EQ(wrong, 0);
  EXPECT_GT(transparent, 250 * 250 / 2);
  EXPECT_GT(rim, 300);
  EXPECT_GT(red, 15000);
  // And the same after the window is shown, from the box that is never seen.
  ShowAndSettle();
  EXPECT_EQ(GetPixel(form().picBox.hDC(), 0, 0), RGB(0, 0, 0));
  EXPECT_TRUE(IsRedShade(GetPixel(form().picBox.hDC(), 120, 95)));
}

TEST_F(FrmFadeTest, CreationAndDestructionMessagesFromOutsideChangeNothing) {
  // Any program can send or post these to any window: a stray pointer taken
  // for the form would crash it, a link let go would orphan it.
  CREATESTRUCTW bogus{};
  bogus.lpCreateParams = reinterpret_cast<void*>(0x1234);
  for (HWND h : {form().hWnd(), form().cmdSend.hWnd(), form().TitleBar.hWnd()}) {
    SendMessageW(h, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&bogus));
  }
  for (HWND h : {form().hWnd(), form().cmdSend.hWnd(), form().txtMessage.hWnd()}) {
    SendMessageW(h, WM_NCDESTROY, 0, 0);
    PostMessageW(h, WM_NCDESTROY, 0, 0);
  }
  PumpWindowMessages();
  EXPECT_EQ(FrmFade::FromWindow(form().hWnd()), &form());

  int clicks = 0;
  std::int16_t seen = 0;
  Overhear send_ear(form().hWnd(), form().cmdSend.hWnd(), [&](UINT code, LPARAM) { clicks += code == BN_CLICKED; });
  Overhear key_ear(form().hWnd(), form().txtMessage.hWnd(), [&](UINT code, LPARAM lp) {
    if (code == kKeyPress) seen = reinterpret_cast<KeyNotice*>(lp)->key_ascii;
  });
  SendMessageW(form().cmdSend.hWnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
  SendMessageW(form().cmdSend.hWnd(), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
  EXPECT_EQ(clicks, 1);
  SendMessageW(form().txtMessage.hWnd(), WM_CHAR, 'k', 0);
  EXPECT_EQ(seen, 'k');
  EXPECT_EQ(form().txtMessage.Text(), u"k");

  // Closing still takes the window and every control with it.
  HWND button = form().cmdSend.hWnd();
  SendMessageW(form().hWnd(), WM_CLOSE, 0, 0);
  EXPECT_EQ(form().hWnd(), nullptr);
  EXPECT_EQ(form().cmdSend.hWnd(), nullptr);
  EXPECT_EQ(form().txtMessage.hWnd(), nullptr);
  EXPECT_FALSE(IsWindow(button));
}

TEST(MessagePump, HandlesWhatIsQueuedAndLeavesAQuitForTheMainLoop) {
  int handled = 0;
  HWND w = CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(w, nullptr);
  PostMessageW(w, WM_NULL, 0, 0);
  PostThreadMessageW(GetCurrentThreadId(), WM_APP, 0, 0);
  PostQuitMessage(7);
  PumpWindowMessages();
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      EXPECT_EQ(msg.wParam, 7u);
      ++handled;
    } else {
      ADD_FAILURE() << "message " << msg.message << " was left in the queue";
    }
  }
  EXPECT_EQ(handled, 1);
  DestroyWindow(w);
}

}  // namespace
}  // namespace fader::test
