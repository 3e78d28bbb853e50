// frmFade on the desktop under Wine: the outline its load handler cuts from
// the picture box, always on top, the round trip through the tray with the
// minimize button and the shell's mouse messages, the icon across a new
// taskbar and every way out, and the title bar's drag.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "desktop/tray_win32.h"
#include "tests/win32/desktop_support_win32.h"
#include "tests/win32/window_test_support_win32.h"

namespace {

using namespace fader::test;

// Pixels of the picture box whose place in the window's region is not what
// their colour says: inside exactly when it differs from the top-left
// pixel's. Asked of GDI pixel by pixel, apart from how the outline is built.
int PixelsOutOfTheOutline(HWND window, HDC dc, int width, int height, int& inside) {
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  if (GetWindowRgn(window, region) == ERROR) {
    DeleteObject(region);
    return width * height;
  }
  const COLORREF clear = GetPixel(dc, 0, 0);
  int wrong = 0;
  inside = 0;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const bool in = PtInRegion(region, x, y) != FALSE;
      inside += in ? 1 : 0;
      if (in != (GetPixel(dc, x, y) != clear)) ++wrong;
    }
  }
  DeleteObject(region);
  return wrong;
}

class FrmFadeDesktop : public FrmFadeTest {
 protected:
  void Load() {
    form().Form_Load();
    ShowAndSettle();
  }
  void ClickMinimize() {
    HWND b = form().ControlWindow(fader::layout::kCmdMinimize);
    SendMessageW(b, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageW(b, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  }
  // A tray notification as the shell delivers it: WM_MOUSEMOVE with the
  // mouse message where the window reads x (in pixels).
  void Notify(int mouse_message) {
    PostMessageW(form().hWnd(), WM_MOUSEMOVE, fader::kTrayIconId, MAKELPARAM(mouse_message, 0));
    fader::PumpWindowMessages();  // the posted message is in this thread's queue
  }
};

TEST_F(FrmFadeDesktop, LoadCutsTheWindowToThePictureBoxsSkin) {
  const int regions_before = fader::test::LiveGdiObjects(fader::test::kGdiRegionType);
  ASSERT_GE(regions_before, 0);
  form().Form_Load();

  ASSERT_NE(form().SkinRegion, nullptr);
  int inside = 0;
  EXPECT_EQ(PixelsOutOfTheOutline(form().hWnd(), form().picBox.hDC(), 250, 250, inside), 0);
  EXPECT_GT(inside, 250 * 250 / 4);

  // No region is left behind but the applied one, which the window owns
  // from now on (Windows keeps its handle; Wine copies it and frees it).
  EXPECT_LE(fader::test::LiveGdiObjects(fader::test::kGdiRegionType), regions_before + 1);
  form_.reset();
  EXPECT_LE(fader::test::LiveGdiObjects(fader::test::kGdiRegionType), regions_before);
}

TEST_F(FrmFadeDesktop, ANewScaleLaysTheWindowOutAgainInTheTrayAndKeepsTheTypedLine) {
  using namespace fader::layout;
  Load();
  form().txtMessage.SetText(u"typed before");
  ClickMinimize();
  const int fonts = fader::test::LiveGdiObjects(0x0A);  // font objects
  // The dpi the message gives, and the dpi laid out at.
  for (const auto& [sent, dpi] : {std::pair(144, 144), std::pair(168, 168), std::pair(4800, 480), std::pair(0, 96)}) {
    const double tpp = 1440.0 / dpi;
    RECT place{-30, 20, -30 + fader::TwipsToPixels(5505, tpp), 20 + fader::TwipsToPixels(4230, tpp)}, at{};
    SendMessageW(form().hWnd(), 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(sent, sent), reinterpret_cast<LPARAM>(&place));
    ASSERT_EQ(form().Dpi(), dpi);
    EXPECT_TRUE(GetWindowRect(form().hWnd(), &at) && EqualRect(&at, &place)) << dpi;
    for (int i = 0; i < kControlCount; ++i) {
      HWND h = form().ControlWindow(static_cast<ControlId>(i));
      const PixelRect want = ToPixels(kControls[i].place, {tpp, tpp});
      const RECT got = h ? fader::test::PlaceInParent(h) : RECT{};
      EXPECT_TRUE(!h || (std::vector<long>{got.left, got.top, got.right - got.left, got.bottom - got.top} ==
                         std::vector<long>{want.left, want.top, want.width, want.height})) << dpi << " " << i;
      EXPECT_TRUE(!h || i == kPicBox || kControls[i].kind == Kind::kSwatch ||
                  fader::test::FontOf(h).lfHeight == FontHeightForDpi(8.25, dpi)) << dpi << " " << i;
    }
    int inside = 0, side = fader::TwipsToPixels(3750, tpp);
    EXPECT_EQ(PixelsOutOfTheOutline(form().hWnd(), form().picBox.hDC(), side, side, inside), 0) << dpi;
    EXPECT_EQ(fader::test::LiveGdiObjects(0x0A), fonts) << dpi;  // the old fonts are gone
    // A place of no size, or none, changes nothing.
    for (RECT bad : {RECT{0, 0, 0, 400}, RECT{50, 50, 40, 90}})
      SendMessageW(form().hWnd(), 0x02E0, MAKEWPARAM(96, 96), reinterpret_cast<LPARAM>(&bad));
    SendMessageW(form().hWnd(), 0x02E0, MAKEWPARAM(96, 96), 0);
    EXPECT_EQ(form().Dpi(), dpi);
  }
  EXPECT_FALSE(IsWindowVisible(form().hWnd()));
  Notify(WM_LBUTTONDBLCLK);
  EXPECT_TRUE(IsWindowVisible(form().hWnd()));
  EXPECT_EQ(form().txtMessage.Text(), u"typed before");
}

TEST_F(FrmFadeDesktop, IsTopmostAfterLoadAndAfterHideAndShow) {
  EXPECT_FALSE(Topmost(form().hWnd()));
  Load();
  EXPECT_TRUE(Topmost(form().hWnd()));
  form().Hide();
  form().Show();
  EXPECT_TRUE(Topmost(form().hWnd()));

  // An ordinary window opened later and raised stays beneath it.
  RECT at{};
  GetWindowRect(form().hWnd(), &at);
  HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, at.left, at.top, 300, 200,
                               nullptr, nullptr, nullptr, nullptr);
  SetWindowPos(other, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  const POINT on_skin{at.left + 120, at.top + 90};
  EXPECT_EQ(GetAncestor(WindowFromPoint(on_skin), GA_ROOT), form().hWnd());
  DestroyWindow(other);
}

// What the minimize button does, in order: the focus goes to txtFocus while
// the window is still shown and before the icon exists; the icon is there
// when the window is hidden.
struct MinimizeWatch {
  static inline HWND form = nullptr, txtFocus = nullptr;
  static inline std::vector<std::string> seen;
  static LRESULT CALLBACK Hook(int code, WPARAM wp, LPARAM lp) {
    const auto* m = reinterpret_cast<const CWPSTRUCT*>(lp);
    if (code == HC_ACTION && m->hwnd == txtFocus && m->message == WM_SETFOCUS) {
      seen.push_back(std::string("focus shown=") + (IsWindowVisible(form) ? "1" : "0") +
                     " icon=" + (IconPresent(form) ? "1" : "0"));
    }
    if (code == HC_ACTION && m->hwnd == form && m->message == WM_SHOWWINDOW && m->wParam == FALSE) {
      seen.push_back(std::string("hide icon=") + (IconPresent(form) ? "1" : "0"));
    }
    return CallNextHookEx(nullptr, code, wp, lp);
  }
};

TEST_F(FrmFadeDesktop, MinimizeButtonFocusesTxtFocusThenAddsTheIconAndHides) {
  Load();
  form().txtMessage.SetFocus();
  MinimizeWatch::form = form().hWnd();
  MinimizeWatch::txtFocus = form().ControlWindow(fader::layout::kTxtFocus);
  MinimizeWatch::seen.clear();
  HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, MinimizeWatch::Hook, nullptr, GetCurrentThreadId());
  ASSERT_NE(hook, nullptr);
  ClickMinimize();
  UnhookWindowsHookEx(hook);

  EXPECT_EQ(MinimizeWatch::seen, (std::vector<std::string>{"focus shown=1 icon=0", "hide icon=1"}));
  EXPECT_FALSE(IsWindowVisible(form().hWnd()));
  EXPECT_TRUE(IconPresent(form().hWnd()));
  EXPECT_EQ(fader::WindowFromValue(fader::TrayData.hWnd), form().hWnd());
  EXPECT_EQ(fader::IconFromValue(fader::TrayData.hIcon), form().Icon());
  EXPECT_EQ(std::u16string(fader::TrayData.szTip.data()), form().Caption());
}

TEST_F(FrmFadeDesktop, DoubleClickOrRightPressOnTheIconBringsItBackOnTop) {
  Load();
  for (int message : {WM_LBUTTONDBLCLK, WM_RBUTTONDOWN}) {  // 515, 516
    ClickMinimize();
    ASSERT_FALSE(IsWindowVisible(form().hWnd())) << message;
    Notify(message);
    EXPECT_TRUE(IsWindowVisible(form().hWnd())) << message;
    EXPECT_FALSE(IconPresent(form().hWnd())) << message;
    EXPECT_TRUE(Topmost(form().hWnd())) << message;
  }
}

TEST_F(FrmFadeDesktop, OtherMouseMessagesOfTheIconLeaveItInTheTray) {
  Load();
  ClickMinimize();
  for (int message : {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONUP}) {  // 512-514, 517
    Notify(message);
    EXPECT_FALSE(IsWindowVisible(form().hWnd())) << message;
    EXPECT_TRUE(IconPresent(form().hWnd())) << message;
  }
}

TEST_F(FrmFadeDesktop, NewTaskbarGetsTheIconOfTheHiddenWindowBack) {
  const UINT taskbar_created = fader::TaskbarCreatedMessage();
  ASSERT_NE(taskbar_created, 0u);
  form().Show();
  SendMessageW(form().hWnd(), taskbar_created, 0, 0);
  EXPECT_FALSE(IconPresent(form().hWnd()));  // shown: no icon wanted

  ClickMinimize();
  ASSERT_FALSE(IsWindowVisible(form().hWnd()));
  // Deleted behind the window's back: a taskbar that starts anew holds none.
  NotifyAbout(form().hWnd(), NIM_DELETE);
  ASSERT_FALSE(IconPresent(form().hWnd()));
  SendMessageW(form().hWnd(), taskbar_created, 0, 0);
  EXPECT_TRUE(IconPresent(form().hWnd()));
  EXPECT_FALSE(IsWindowVisible(form().hWnd()));
  // The message also comes while the icon is still there.
  SendMessageW(form().hWnd(), taskbar_created, 0, 0);
  EXPECT_TRUE(IconPresent(form().hWnd()));
  EXPECT_FALSE(IsWindowVisible(form().hWnd()));

  // The icon put back still brings the window back.
  SendMessageW(form().hWnd(), WM_MOUSEMOVE, fader::kTrayIconId, MAKELPARAM(WM_LBUTTONDBLCLK, 0));
  EXPECT_TRUE(IsWindowVisible(form().hWnd()));
  EXPECT_FALSE(IconPresent(form().hWnd()));
}

TEST_F(FrmFadeDesktop, RefusedIconLeavesTheWindowShownWithTheFocusInTheMessageBox) {
  form().Show();
  // The shell refuses a second icon of the same window and number.
  ASSERT_TRUE(NotifyAbout(form().hWnd(), NIM_ADD, NIF_ICON, form().Icon()));

  ClickMinimize();
  EXPECT_TRUE(IsWindowVisible(form().hWnd()));
  EXPECT_EQ(GetFocus(), form().txtMessage.hWnd());
}

struct CloseWatch {
  static inline HWND form = nullptr;
  static inline int icon_at_end = -1;
  static LRESULT CALLBACK Hook(int code, WPARAM wp, LPARAM lp) {
    const auto* m = reinterpret_cast<const CWPSTRUCT*>(lp);
    if (code == HC_ACTION && m->hwnd == form && m->message == WM_NCDESTROY) icon_at_end = IconPresent(form);
    return CallNextHookEx(nullptr, code, wp, lp);
  }
};

TEST_F(FrmFadeDesktop, EveryWayOutRemovesTheIconAndOnlyTheClosingWindows) {
  // A second window that goes while the first is in the tray leaves its icon.
  fader::FrmFade other;
  other.SetQuitOnDestroy(false);
  ASSERT_TRUE(other.Create(GetModuleHandleW(nullptr)));
  form().Show();
  ClickMinimize();
  ASSERT_TRUE(IconPresent(form().hWnd()));
  SendMessageW(other.hWnd(), WM_ENDSESSION, TRUE, 0);
  SendMessageW(other.hWnd(), WM_CLOSE, 0, 0);
  ASSERT_FALSE(IsWindow(other.hWnd()));
  EXPECT_TRUE(IconPresent(form().hWnd()));

  // A session that goes on after all keeps it too.
  SendMessageW(form().hWnd(), WM_ENDSESSION, FALSE, 0);
  EXPECT_TRUE(IconPresent(form().hWnd()));
  SendMessageW(form().hWnd(), WM_ENDSESSION, TRUE, 0);
  EXPECT_FALSE(IconPresent(form().hWnd()));

  form().Show();
  ClickMinimize();
  ASSERT_TRUE(IconPresent(form().hWnd()));
  // Read as the window's destruction ends: later Wine drops a dead window's
  // icon by itself.
  CloseWatch::form = form().hWnd();
  CloseWatch::icon_at_end = -1;
  HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, CloseWatch::Hook, nullptr, GetCurrentThreadId());
  ASSERT_NE(hook, nullptr);
  SendMessageW(form().hWnd(), WM_CLOSE, 0, 0);
  UnhookWindowsHookEx(hook);
  EXPECT_FALSE(IsWindow(CloseWatch::form));
  EXPECT_EQ(CloseWatch::icon_at_end, 0);
}

TEST_F(FrmFadeDesktop, SkinThatDidNotDecodeLeavesTheWindowWhole) {
  // What the picture box holds then: nothing but its black background.
  RECT all{0, 0, 250, 250};
  FillRect(form().picBox.hDC(), &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  GdiFlush();
  const int regions_before = fader::test::LiveGdiObjects(fader::test::kGdiRegionType);
  ASSERT_GE(regions_before, 0);
  form().Form_Load();

  EXPECT_EQ(form().SkinRegion, nullptr);
  HRGN probe = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetWindowRgn(form().hWnd(), probe), ERROR);  // no region: the whole rectangle
  DeleteObject(probe);
  EXPECT_EQ(fader::test::LiveGdiObjects(fader::test::kGdiRegionType), regions_before);
  // The top-left corner, cut away from a decoded skin, is the window's.
  form().Show();
  RECT at{};
  GetWindowRect(form().hWnd(), &at);
  EXPECT_EQ(GetAncestor(WindowFromPoint(POINT{at.left + 1, at.top + 1}), GA_ROOT), form().hWnd());
}

TEST_F(FrmFadeDesktop, TitleBarThatLosesTheMouseMidDragStopsMovingTheWindow) {
  HWND bar = form().TitleBar.hWnd();
  const float left = form().Left(), top = form().Top();
  // With the mouse kept, a move drags the window along.
  SendMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 5));
  SendMessageW(bar, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(30, 5));
  ASSERT_FLOAT_EQ(form().Left(), left + 300);
  SendMessageW(bar, WM_LBUTTONUP, 0, MAKELPARAM(30, 5));

  SendMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 5));
  ASSERT_EQ(GetCapture(), bar);
  SetCapture(form().hWnd());  // another window takes the mouse; no release reaches the bar
  ReleaseCapture();
  SendMessageW(bar, WM_MOUSEMOVE, 0, MAKELPARAM(50, 25));
  EXPECT_FLOAT_EQ(form().Left(), left + 300);
  EXPECT_FLOAT_EQ(form().Top(), top);
}

}  // namespace
