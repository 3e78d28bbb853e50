// The controls of frmFade: kind, place, caption, font, tooltip and colours of
// each, and the behaviour of each kind: text boxes, 3-D buttons, the 3-D
// panel, swatches, the timer and the colour dialog.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "tests/win32/window_test_support_win32.h"
#include "window/layout.h"

namespace fader::test {
namespace {

using namespace fader::layout;

std::wstring ExpectedClass(Kind kind) {
  switch (kind) {
    case Kind::kTextBox: return L"Edit";
    case Kind::kButton3D: return Button3D::kClassName;
    case Kind::kPanel3D: return Panel3D::kClassName;
    case Kind::kPictureBox: return PictureBox::kClassName;
    case Kind::kSwatch: return SwatchLabel::kClassName;
    default: return L"";
  }
}

TEST_F(FrmFadeTest, EachControlHasItsKindPlaceAndCaption) {
  for (int i = 0; i < kControlCount; ++i) {
    const auto id = static_cast<ControlId>(i);
    const Control& c = kControls[id];
    HWND h = form().ControlWindow(id);
    if (c.kind == Kind::kTimer || c.kind == Kind::kColorDialog) {
      EXPECT_EQ(h, nullptr) << c.name;
      continue;
    }
    ASSERT_NE(h, nullptr) << c.name;
    EXPECT_EQ(GetParent(h), form().hWnd()) << c.name;
    EXPECT_TRUE(IsWindowVisible(h) || !IsWindowVisible(form().hWnd())) << c.name;
    EXPECT_EQ(lstrcmpiW(ClassOf(h).c_str(), ExpectedClass(c.kind).c_str()), 0) << c.name;
    const RECT r = PlaceInParent(h);
    const PixelRect want = ToPixels(c.place, {15.0, 15.0});
    EXPECT_EQ(r.left, want.left) << c.name;
    EXPECT_EQ(r.top, want.top) << c.name;
    EXPECT_EQ(r.right - r.left, want.width) << c.name;
    EXPECT_EQ(r.bottom - r.top, want.height) << c.name;
    wchar_t text[64] = {};
    GetWindowTextW(h, text, 64);
    EXPECT_EQ(U16(text), c.caption) << c.name;
  }
  // A few figures straight from the drawing of the window.
  const RECT msg = PlaceInParent(form().txtMessage.hWnd());
  EXPECT_EQ(msg.left, 40);
  EXPECT_EQ(msg.top, 72);
  EXPECT_EQ(msg.right, 209);
  const RECT exit_button = PlaceInParent(form().cmdExit.hWnd());
  EXPECT_EQ(exit_button.left, 208);
  EXPECT_EQ(exit_button.bottom, 57);
  EXPECT_EQ(form().cmdExit.Caption(), u"x");
  EXPECT_EQ(form().cmdMinimize.Caption(), u"-");
  EXPECT_EQ(form().cmdSend.Caption(), u"send");
  EXPECT_EQ(form().TitleBar.Caption(), u"m\u00EDrt\u00E1n\u00E9");
}

TEST_F(FrmFadeTest, FontsAreArial825PointAndItalicOnTheSmallButtons) {
  struct Want {
    HWND h;
    bool italic;
  };
  const Want wants[] = {{form().cmdSend.hWnd(), false},    {form().TitleBar.hWnd(), false},
                        {form().cmdExit.hWnd(), true},     {form().cmdMinimize.hWnd(), true},
                        {form().txtMessage.hWnd(), false}, {form().txtResult.hWnd(), false},
                        {form().txtFocus.hWnd(), false}};
  for (const Want& w : wants) {
    const LOGFONTW lf = FontOf(w.h);
    EXPECT_STREQ(lf.lfFaceName, L"Arial") << ClassOf(w.h).c_str();
    EXPECT_EQ(lf.lfHeight, -11);  // 8.25 pt at 96 dpi
    EXPECT_EQ(lf.lfWeight, 400);
    EXPECT_EQ(lf.lfItalic != 0, w.italic);
    EXPECT_EQ(lf.lfUnderline, 0);
    EXPECT_EQ(lf.lfStrikeOut, 0);
    EXPECT_EQ(lf.lfCharSet, 0);
  }
}

std::u16string ToolTipText(const Button3D& b) {
  HWND tip = b.ToolTipWindow();
  if (!tip) return u"";
  wchar_t text[80] = {};
  TOOLINFOW ti{};
  ti.cbSize = sizeof(ti);
  ti.hwnd = GetParent(b.hWnd());
  ti.uId = reinterpret_cast<UINT_PTR>(b.hWnd());
  ti.lpszText = text;
  SendMessageW(tip, TTM_GETTEXTW, 80, reinterpret_cast<LPARAM>(&ti));
  return U16(text);
}

TEST_F(FrmFadeTest, TheSmallButtonsHaveTheirTooltipsAndSendHasNone) {
  EXPECT_EQ(ToolTipText(form().cmdExit), u"exit");
  EXPECT_EQ(ToolTipText(form().cmdMinimize), u"minimize");
  ASSERT_NE(form().cmdExit.ToolTipWindow(), nullptr);
  EXPECT_EQ(SendMessageW(form().cmdExit.ToolTipWindow(), TTM_GETTOOLCOUNT, 0, 0), 1);
  EXPECT_EQ(form().cmdSend.ToolTipWindow(), nullptr);
}

TEST_F(FrmFadeTest, TooltipsGoAwayWithTheWindow) {
  // They are not owned by the window, so the buttons destroy them.
  HWND tip = form().cmdExit.ToolTipWindow();
  ASSERT_TRUE(IsWindow(tip));
  form_.reset();
  EXPECT_FALSE(IsWindow(tip));
}

TEST_F(FrmFadeTest, TextBoxesAreRedOnWhite) {
  HDC dc = CreateCompatibleDC(nullptr);
  for (HWND box : {form().txtMessage.hWnd(), form().txtResult.hWnd()}) {
    SetTextColor(dc, RGB(1, 2, 3));
    auto brush = reinterpret_cast<HBRUSH>(
        SendMessageW(form().hWnd(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(box)));
    ASSERT_NE(brush, nullptr);
    LOGBRUSH lb{};
    GetObjectW(brush, sizeof(lb), &lb);
    EXPECT_EQ(lb.lbColor, RGB(255, 255, 255));
    EXPECT_EQ(GetTextColor(dc), RGB(255, 0, 0));
    EXPECT_EQ(GetBkColor(dc), RGB(255, 255, 255));
  }
  DeleteDC(dc);
  EXPECT_EQ(form().txtMessage.BackColor(), 0x00FFFFFF);
}

TEST_F(FrmFadeTest, TextIsUtf16BothWays) {
  const std::u16string text = u"f\u00E1d\u00E9 \u00B7 \u2022 \u6F22";
  form().txtMessage.SetText(text);
  EXPECT_EQ(form().txtMessage.Text(), text);
  wchar_t raw[32] = {};
  GetWindowTextW(form().txtMessage.hWnd(), raw, 32);
  EXPECT_EQ(U16(raw), text);
  form().txtResult.SetText(u"");
  EXPECT_EQ(form().txtResult.Text(), u"");
}

TEST_F(FrmFadeTest, MessageBoxTakesAtMost32767CharactersTypedOrPasted) {
  HWND box = form().txtMessage.hWnd();
  EXPECT_EQ(SendMessageW(box, EM_GETLIMITTEXT, 0, 0), 32767);
  const std::wstring big(40000, L'a');
  ASSERT_TRUE(OpenClipboard(form().hWnd()));
  EmptyClipboard();
  HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, (big.size() + 1) * sizeof(wchar_t));
  memcpy(GlobalLock(mem), big.c_str(), (big.size() + 1) * sizeof(wchar_t));
  GlobalUnlock(mem);
  SetClipboardData(CF_UNICODETEXT, mem);
  CloseClipboard();
  SendMessageW(box, WM_PASTE, 0, 0);
  EXPECT_EQ(GetWindowTextLengthW(box), 32767);
  SendMessageW(box, EM_SETSEL, 32767, 32767);
  SendMessageW(box, WM_CHAR, L'b', 1);
  EXPECT_EQ(GetWindowTextLengthW(box), 32767);
  EXPECT_EQ(form().txtMessage.Text().back(), u'a');
}

TEST_F(FrmFadeTest, KeyPressSeesEachCharacterFirstAndTheEditGetsItUnchanged) {
  std::vector<std::int16_t> seen;
  std::vector<std::u16string> text_at_press;
  HWND box = form().txtMessage.hWnd();
  Overhear ear(form().hWnd(), box, [&](UINT code, LPARAM lp) {
    if (code == kKeyPress) seen.push_back(reinterpret_cast<KeyNotice*>(lp)->key_ascii);
    if (code == kKeyPress) text_at_press.push_back(form().txtMessage.Text());
  });
  SendMessageW(box, WM_CHAR, L'a', 1);
  SendMessageW(box, WM_CHAR, 0x00E9, 1);  // é
  SendMessageW(box, WM_CHAR, 13, 1);      // Enter: seen, then ignored by a one-line box
  SendMessageW(box, WM_CHAR, 10, 1);      // Ctrl+Enter
  EXPECT_EQ(seen, (std::vector<std::int16_t>{97, 0xE9, 13, 10}));
  EXPECT_EQ(text_at_press[1], u"a");  // before the edit control had the é
  EXPECT_EQ(form().txtMessage.Text(), u"a\u00E9");

  // A character beyond 16-bit signed range still goes on as it was.
  seen.clear();
  SendMessageW(box, WM_CHAR, 0x6F22, 1);
  SendMessageW(box, WM_CHAR, 0x9000, 1);
  EXPECT_EQ(seen, (std::vector<std::int16_t>{0x6F22, static_cast<std::int16_t>(0x9000)}));
  EXPECT_EQ(form().txtMessage.Text(), u"a\u00E9\u6F22\u9000");

  // A handler that throws loses nothing: the key still arrives.
  Overhear thrower(form().hWnd(), box, [](UINT, LPARAM) { throw std::runtime_error("handler failed"); });
  SendMessageW(box, WM_CHAR, L'z', 1);
  EXPECT_EQ(form().txtMessage.Text().back(), u'z');
}

TEST_F(FrmFadeTest, ButtonsClickOnAReleaseOverThemAndTakeTheFocus) {
  ShowAndSettle();
  int clicks = 0;
  HWND b = form().cmdSend.hWnd();
  Overhear ear(form().hWnd(), b, [&](UINT code, LPARAM) { clicks += code == BN_CLICKED; });
  SendMessageW(b, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_EQ(GetFocus(), b);
  EXPECT_EQ(GetCapture(), b);
  SendMessageW(b, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(GetCapture(), nullptr);
  // Pressed, dragged off and released outside: no click.
  SendMessageW(b, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageW(b, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(60, 5));
  SendMessageW(b, WM_LBUTTONUP, 0, MAKELPARAM(60, 5));
  EXPECT_EQ(clicks, 1);
  // The space bar clicks the focused button on its release.
  SendMessageW(b, WM_KEYDOWN, VK_SPACE, 0x00390001);
  EXPECT_EQ(clicks, 1);
  SendMessageW(b, WM_KEYUP, VK_SPACE, 0xC0390001);
  EXPECT_EQ(clicks, 2);
  // A release without a press on the button is no click either.
  SendMessageW(b, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(clicks, 2);
}

TEST_F(FrmFadeTest, AButtonHandlerThatThrowsStopsAtTheWindowProcedure) {
  int calls = 0;
  HWND b = form().cmdExit.hWnd();
  Overhear ear(form().hWnd(), b, [&calls](UINT, LPARAM) {
    ++calls;
    throw std::runtime_error("handler failed");
  });
  for (int click = 1; click <= 2; ++click) {
    SendMessageW(b, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(SendMessageW(b, WM_LBUTTONUP, 0, MAKELPARAM(5, 5)), 0);
    // The handler ran; the button let go of the mouse and takes the next click.
    EXPECT_EQ(calls, click);
    EXPECT_NE(GetCapture(), b);
  }
}

using MouseCall = std::tuple<std::int16_t, std::int16_t, float, float>;  // button, shift, x, y

TEST_F(FrmFadeTest, PanelReportsItsMouseEventsInTwipsAndKeepsTheMouseWhileAButtonIsDown) {
  std::vector<MouseCall> downs, moves, ups, *to[] = {&downs, &moves, &ups};
  int lost = 0;
  HWND p = form().TitleBar.hWnd();
  Overhear ear(form().hWnd(), p, [&](UINT code, LPARAM lp) {
    const auto& m = *reinterpret_cast<const MouseNotice*>(lp);
    code == kCaptureLost ? void(++lost) : to[code - kMouseDown]->push_back({m.button, m.shift, m.x, m.y});
  });
  SendMessageW(p, WM_MOUSEMOVE, 0, MAKELPARAM(3, 4));
  SendMessageW(p, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 5));
  EXPECT_EQ(GetCapture(), p);
  // Outside the panel, to the left and above, under the capture.
  SendMessageW(p, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(static_cast<WORD>(-3), static_cast<WORD>(-2)));
  SendMessageW(p, WM_RBUTTONDOWN, MK_LBUTTON | MK_RBUTTON, MAKELPARAM(20, 6));
  SendMessageW(p, WM_LBUTTONUP, MK_RBUTTON, MAKELPARAM(20, 6));
  EXPECT_EQ(GetCapture(), p);  // the right button is still down
  SendMessageW(p, WM_RBUTTONUP, 0, MAKELPARAM(21, 6));
  EXPECT_EQ(GetCapture(), nullptr);
  SendMessageW(p, WM_MBUTTONDOWN, MK_MBUTTON, MAKELPARAM(1, 1));
  SendMessageW(p, WM_MBUTTONUP, 0, MAKELPARAM(1, 1));

  EXPECT_EQ(downs, (std::vector<MouseCall>{{1, 0, 150, 75}, {2, 0, 300, 90}, {4, 0, 15, 15}}));
  EXPECT_EQ(moves, (std::vector<MouseCall>{{0, 0, 45, 60}, {1, 0, -45, -30}}));
  EXPECT_EQ(ups, (std::vector<MouseCall>{{1, 0, 300, 90}, {2, 0, 315, 90}, {4, 0, 15, 15}}));

  // Its own releases lose nothing; a capture taken away mid-press does.
  EXPECT_EQ(lost, 0);
  SendMessageW(p, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 5));
  SetCapture(form().hWnd());
  ReleaseCapture();
  EXPECT_EQ(lost, 1);
}

TEST_F(FrmFadeTest, PanelMousePointerCanBeSetAtRunTime) {
  HWND p = form().TitleBar.hWnd();
  // The default pointer leaves the cursor to the window system.
  EXPECT_EQ(SendMessageW(p, WM_SETCURSOR, reinterpret_cast<WPARAM>(p), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
            FALSE);
  form().TitleBar.SetMousePointer(16);
  EXPECT_EQ(SendMessageW(p, WM_SETCURSOR, reinterpret_cast<WPARAM>(p), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)), TRUE);
  EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_HAND));
  form().TitleBar.SetMousePointer(11);
  SendMessageW(p, WM_SETCURSOR, reinterpret_cast<WPARAM>(p), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_WAIT));
}

TEST_F(FrmFadeTest, SwatchesShowTheirColoursAndClick) {
  const std::int32_t want[] = {0x000000FF, 0x00FF0000, 0x00E0E0E0, 0x00FF8080, 0x00000000};
  for (int i = 1; i <= 5; ++i) {
    EXPECT_EQ(form().Color(i).BackColor(), want[i - 1]) << i;
    EXPECT_EQ(PrintedPixel(form().Color(i).hWnd(), 8, 8), static_cast<COLORREF>(want[i - 1])) << i;
  }
  EXPECT_THROW(form().Color(0), std::out_of_range);
  EXPECT_THROW(form().Color(6), std::out_of_range);

  form().Color3.SetBackColor(0x00123456);
  EXPECT_EQ(form().Color3.BackColor(), 0x00123456);
  EXPECT_EQ(PrintedPixel(form().Color3.hWnd(), 0, 16), RGB(0x56, 0x34, 0x12));

  int clicks = 0;
  HWND s = form().Color4.hWnd();
  Overhear ear(form().hWnd(), s, [&](UINT code, LPARAM) { clicks += code == STN_CLICKED; });
  SendMessageW(s, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
  SendMessageW(s, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
  EXPECT_EQ(clicks, 1);
  SendMessageW(s, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
  SendMessageW(s, WM_LBUTTONUP, 0, MAKELPARAM(40, 4));
  EXPECT_EQ(clicks, 1);
  SendMessageW(s, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(4, 4));
  SendMessageW(s, WM_RBUTTONUP, 0, MAKELPARAM(4, 4));
  EXPECT_EQ(clicks, 1);
}

TEST_F(FrmFadeTest, TimerTicksOnlyOnceStartedAndEachTickRendersTheMessageBox) {
  // The message box's change reaches the flow through the window procedure;
  // a tick renders it into txtResult.
  ASSERT_TRUE(form().txtMessage.SetText(u"tick"));
  HWND h = form().hWnd();
  SendMessageW(h, WM_TIMER, form().tmrFade.Id(), 0);
  EXPECT_EQ(form().txtResult.Text(), u"");
  form().tmrFade.Start();
  ASSERT_TRUE(form().tmrFade.Started());
  SendMessageW(h, WM_TIMER, form().tmrFade.Id(), 0);
  EXPECT_EQ(form().txtResult.Text().size(), 4u * 23);
  // The system's own ticks, once the box changes again.
  ASSERT_TRUE(form().txtMessage.SetText(u"system"));
  for (int i = 0; i < 200 && form().txtResult.Text().size() != 6u * 23; ++i) {
    Sleep(10);
    PumpWindowMessages();
  }
  EXPECT_EQ(form().txtResult.Text().size(), 6u * 23);
}

// Closes the colour dialog, once it is up, with OK (1) or Cancel (2).
std::thread CloseColorDialog(WPARAM button, std::atomic<bool>& closed) {
  return std::thread([button, &closed] {
    for (int i = 0; i < 500 && !closed; ++i) {
      if (HWND dlg = FindWindowW(L"#32770", L"Color")) {
        PostMessageW(dlg, WM_COMMAND, button, 0);
        closed = true;
        return;
      }
      Sleep(20);
    }
  });
}

TEST_F(FrmFadeTest, ColourDialogCancelKeepsTheColourAndOkChoosesTheShownOne) {
  form().cd.SetColor(0x00FF8080);
  std::atomic<bool> closed{false};
  std::thread t = CloseColorDialog(IDCANCEL, closed);
  EXPECT_FALSE(form().cd.ShowColor());
  t.join();
  ASSERT_TRUE(closed);
  EXPECT_EQ(form().cd.Color(), 0x00FF8080);

  closed = false;
  t = CloseColorDialog(IDOK, closed);
  EXPECT_TRUE(form().cd.ShowColor());
  t.join();
  ASSERT_TRUE(closed);
  EXPECT_EQ(form().cd.Color(), 0x00FF8080);  // opened on it, chosen unchanged
}

}  // namespace
}  // namespace fader::test
