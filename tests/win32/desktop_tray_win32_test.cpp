// Always on top and the tray icon on real user32 and shell32 under Wine: a
// borderless window made topmost, hidden to the tray and brought back by the
// mouse messages the shell delivers as WM_MOUSEMOVE.
#include <gtest/gtest.h>

#include <string>

#include "base/twips.h"
#include "desktop/tray_win32.h"
#include "tests/win32/desktop_support_win32.h"

namespace {

const std::u16string kCaption = u"m\u00EDrt\u00E1n\u00E9 \u00B7 b\u00FD grelvin";

using namespace fader::test;

// The window hands its mouse-moves to the tray as the main window does, x
// decoded into twips.
LRESULT CALLBACK TrayWindowProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg != WM_MOUSEMOVE) return DefWindowProcW(w, msg, wp, lp);
  float x = 0, y = 0;
  fader::DecodeMousePosition(static_cast<std::uint32_t>(lp), {15, 15}, x, y);
  fader::TrayMouseMessage(w, x, 1, 15);  // throws nothing at 15 twips a pixel
  return 0;
}

class TrayWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    window_ = fader::test::CreateTestPopup(L"DesktopTrayTestWindow", TrayWindowProc, nullptr, L"tray", 200, 150);
    ASSERT_NE(window_, nullptr);
    icon_ = LoadIconW(nullptr, IDI_APPLICATION);
    ShowWindow(window_, SW_SHOW);
  }
  void TearDown() override {
    fader::RemoveTrayIcon();
    DestroyWindow(window_);
  }
  void Pump() {
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
  }
  HWND window_ = nullptr;
  HICON icon_ = nullptr;
};

TEST_F(TrayWindow, StayOnTopKeepsPlaceAndSizeAndOutlastsHideAndShow) {
  RECT before{}, after{};
  GetWindowRect(window_, &before);
  EXPECT_FALSE(Topmost(window_));
  fader::StayOnTop(window_);
  EXPECT_TRUE(Topmost(window_));
  GetWindowRect(window_, &after);
  EXPECT_TRUE(EqualRect(&before, &after));
  ShowWindow(window_, SW_HIDE);
  ShowWindow(window_, SW_SHOW);
  EXPECT_TRUE(Topmost(window_));
  // Above an ordinary window opened later.
  HWND other = CreateWindowExW(0, L"DesktopTrayTestWindow", L"other", WS_POPUP | WS_VISIBLE, 210, 160,
                               100, 100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  SetWindowPos(other, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  POINT p{250, 200};
  EXPECT_EQ(WindowFromPoint(p), window_);
  DestroyWindow(other);
}

TEST_F(TrayWindow, MinimizeAddsTheIconWithTheRecordAndHidesTheWindow) {
  fader::MinimizeToTray(icon_, kCaption, window_);
  EXPECT_FALSE(IsWindowVisible(window_));
  EXPECT_TRUE(IconPresent(window_));
  EXPECT_EQ(fader::WindowFromValue(fader::TrayData.hWnd), window_);
  EXPECT_EQ(fader::IconFromValue(fader::TrayData.hIcon), icon_);
  EXPECT_EQ(fader::TrayData.cbSize, 88u);
  EXPECT_EQ(fader::TrayData.uCallbackMessage, static_cast<std::uint32_t>(WM_MOUSEMOVE));

  const fader::ShellTrayRecordV1 shell = fader::ShellTrayRecord(fader::TrayData);
  EXPECT_EQ(shell.cbSize, static_cast<DWORD>(NOTIFYICONDATAA_V1_SIZE));
  EXPECT_EQ(shell.hWnd, window_);
  EXPECT_EQ(shell.uID, 1u);
  EXPECT_EQ(shell.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
  EXPECT_EQ(shell.uCallbackMessage, static_cast<UINT>(WM_MOUSEMOVE));
  EXPECT_EQ(shell.hIcon, icon_);
  if (GetACP() == 1252) {
    EXPECT_EQ(std::string(shell.szTip), "m\xEDrt\xE1n\xE9 \xB7 b\xFD grelvin");
    EXPECT_EQ(shell.szTip[63], ' ');
  }

  // A second add of the same icon is refused: it is there once.
  fader::ShellTrayRecordV1 again = shell;
  EXPECT_FALSE(Shell_NotifyIconA(NIM_ADD, reinterpret_cast<NOTIFYICONDATAA*>(&again)));
}

TEST_F(TrayWindow, NoIconToShowKeepsTheWindowOutOfTheTray) {
  EXPECT_FALSE(fader::MinimizeToTray(nullptr, kCaption, window_));
  EXPECT_TRUE(IsWindowVisible(window_));
}

TEST_F(TrayWindow, DoubleClickOrRightPressOnTheIconRestoresAndDeletesIt) {
  for (int message : {WM_LBUTTONDBLCLK, WM_RBUTTONDOWN}) {
    fader::StayOnTop(window_);
    fader::MinimizeToTray(icon_, kCaption, window_);
    ASSERT_FALSE(IsWindowVisible(window_));
    // As the shell delivers it: the callback message with the mouse message
    // in lParam, which the window reads as its x.
    SendMessageW(window_, WM_MOUSEMOVE, fader::kTrayIconId, MAKELPARAM(message, 0));
    EXPECT_TRUE(IsWindowVisible(window_)) << message;
    EXPECT_FALSE(IconPresent(window_)) << message;
    EXPECT_TRUE(Topmost(window_)) << message;
  }
}

TEST_F(TrayWindow, OtherMouseMessagesLeaveItInTheTray) {
  fader::MinimizeToTray(icon_, kCaption, window_);
  for (int message : {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONUP, WM_MBUTTONDOWN}) {
    PostMessageW(window_, WM_MOUSEMOVE, fader::kTrayIconId, MAKELPARAM(message, 0));
    Pump();
    EXPECT_FALSE(IsWindowVisible(window_)) << message;
    EXPECT_TRUE(IconPresent(window_)) << message;
  }
  SendMessageW(window_, WM_MOUSEMOVE, 0, MAKELPARAM(WM_LBUTTONDBLCLK, 0));
  EXPECT_TRUE(IsWindowVisible(window_));
  EXPECT_FALSE(IconPresent(window_));
}

TEST_F(TrayWindow, RestoreWithoutAnIconStillShowsTheWindow) {
  // A mouse-move of the visible window that decodes to 515 takes the same
  // path: the shell refuses the delete, the window is shown again.
  fader::RemoveTrayIcon();
  SendMessageW(window_, WM_MOUSEMOVE, 0, MAKELPARAM(WM_LBUTTONDBLCLK, 0));
  EXPECT_TRUE(IsWindowVisible(window_));
  ShowWindow(window_, SW_HIDE);
  SendMessageW(window_, WM_MOUSEMOVE, 0, MAKELPARAM(WM_LBUTTONDBLCLK, 0));
  EXPECT_TRUE(IsWindowVisible(window_));
  fader::RemoveTrayIcon();  // twice in a row: refused quietly
}

TEST(TrayHandles, UserHandlesRoundTripThrough32Bits) {
  HWND desktop = GetDesktopWindow();
  EXPECT_EQ(fader::WindowFromValue(fader::HandleValue(desktop)), desktop);
  HICON icon = LoadIconW(nullptr, IDI_WARNING);
  EXPECT_EQ(fader::IconFromValue(fader::HandleValue(icon)), icon);
  EXPECT_EQ(fader::WindowFromValue(0), nullptr);
}

}  // namespace
