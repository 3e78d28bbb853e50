#include "window/frm_fade_win32.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <stdexcept>

#include "base/wide_text_win32.h"
#include "desktop/tray_win32.h"
#include "window/attempt.h"
#include "window/control_win32.h"
#include "window/resource_ids.h"
#include "window/screen_win32.h"

namespace fader {
namespace {

using layout::ControlId;
using layout::kControls;

constexpr int kFirstControlId = 1000;
// WM_DPICHANGED, which XP's headers do not declare.
constexpr UINT kWmDpiChanged = 0x02E0;
constexpr UINT_PTR kFadeTimerId = 1;

// A control's event as one number for the window procedure's switch: the
// control's place in the design table and its notification code.
constexpr std::uint64_t Event(ControlId id, UINT code) { return static_cast<std::uint64_t>(id) << 32 | code; }

// The control the focus moves to from `from`: one whose window exists and is
// enabled and, with `shown_only`, visible.
std::optional<ControlId> NextFocusable(const FrmFade& form, std::optional<ControlId> from, bool forward,
                                       bool shown_only) {
  return layout::NextInTabOrder(from, forward, [&](ControlId id) {
    HWND h = form.ControlWindow(id);
    return h && IsWindowEnabled(h) && (!shown_only || IsWindowVisible(h));
  });
}

}  // namespace

FrmFade::~FrmFade() {
  if (hwnd_) DestroyLinkedWindow(hwnd_);
  if (icon_) DestroyIcon(icon_);
  if (small_icon_) DestroyIcon(small_icon_);
}

bool FrmFade::Create(HINSTANCE instance) {
  if (hwnd_) return true;
  try {
    return CreateWindowAndControls(instance);
  } catch (...) {
    // Out of memory on the way: no window is better than half of one.
    if (hwnd_) DestroyLinkedWindow(hwnd_);
    return false;
  }
}

bool FrmFade::CreateWindowAndControls(HINSTANCE instance) {
  const layout::Window& design = layout::kFrmFade;
  // Brushes, fonts, the skin and the icons only make the window look right:
  // without one it still works, in the system's colours and font.
  back_brush_.reset(CreateSolidBrush(ToColorRef(design.back_color)));
  // Decoded once: picBox is handed this picture, over the same background.
  static_assert(layout::kFrmFade.back_color == kControls[layout::kPicBox].back_color);
  skin_.Load(instance, FADER_IDR_SKIN, design.back_color);
  icon_ = static_cast<HICON>(
      LoadImageW(instance, MAKEINTRESOURCEW(FADER_IDI_PROGRAM), IMAGE_ICON, 32, 32, LR_DEFAULTCOLOR));
  small_icon_ = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(FADER_IDI_PROGRAM), IMAGE_ICON,
                                              GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
                                              LR_DEFAULTCOLOR));

  // The icons are the window's own (WM_SETICON): the class may outlive one window.
  const wchar_t* cls = RegisterWindowClass(kClassName, &LinkedWindowProc<FrmFade>, LoadCursorW(nullptr, IDC_ARROW));
  // Centred; a screen whose size the system cannot tell gets it at the top left.
  auto centred = [&] {
    const int w = TwipsToPixels(design.client_width, tpp_.x);
    const int h = TwipsToPixels(design.client_height, tpp_.y);
    const int x = std::max(0, (GetSystemMetrics(SM_CXSCREEN) - w) / 2);
    const int y = std::max(0, (GetSystemMetrics(SM_CYSCREEN) - h) / 2);
    return RECT{x, y, x + w, y + h};
  };
  // Made at the screen's dpi; once on a screen, Windows 10 may tell that
  // screen's apart.
  UseDpi(WindowDpi(nullptr));
  RECT place = centred();
  // A popup has no frame, caption bar or system menu, so the client area is
  // the whole window; the taskbar button comes from WS_EX_APPWINDOW.
  CreateLinkedWindow(this, kWhat, WS_EX_APPWINDOW, cls, ToWide(design.caption).c_str(), WS_POPUP | WS_CLIPCHILDREN,
                     place.left, place.top, place.right - place.left, place.bottom - place.top, nullptr, 0);
  if (!hwnd_) return false;
  if (const int dpi = WindowDpi(hwnd_); dpi != dpi_) {
    UseDpi(dpi);
    place = centred();
    SetWindowPos(hwnd_, nullptr, place.left, place.top, place.right - place.left, place.bottom - place.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (icon_) SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
  if (icon_) SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small_icon_ ? small_icon_ : icon_));
  if (!CreateControls()) {
    DestroyLinkedWindow(hwnd_);
    return false;
  }
  return true;
}

// What follows from the window's dpi alone: twips per pixel, the fonts and
// the skin at its designed size.
void FrmFade::UseDpi(int dpi) {
  dpi_ = SaneDpi(dpi);
  const double tpp = TwipsPerPixelForDpi(dpi_);
  tpp_ = TwipsPerPixel{tpp, tpp};
  font_ = MakeFont(*layout::kFrmFade.font, dpi_);
  small_button_font_ = MakeFont(layout::kSmallButtonFont, dpi_);
  const layout::PixelRect box = layout::ToPixels(kControls[layout::kPicBox].place, tpp_);
  skin_.ScaleTo(box.width, box.height);
}

// The window reached a screen of another scale, or the screen's scale
// changed, shown or hidden in the tray: everything is laid out again at the
// new dpi in the place the system suggests. The controls stay, and with them
// what they hold (the typed line, the focus, the colours).
void FrmFade::OnDpiChanged(int dpi, const RECT* place) {
  // A place of no size is no place for the window.
  if (!place || place->right <= place->left || place->bottom <= place->top) return;
  const Font old_font = std::move(font_);  // until the controls hold the new ones
  const Font old_small_font = std::move(small_button_font_);
  UseDpi(dpi);
  for (int i = 0; i < layout::kControlCount; ++i) {
    const auto id = static_cast<ControlId>(i);
    HWND control = ControlWindow(id);
    if (!control || id == layout::kPicBox) continue;
    const layout::PixelRect r = layout::ToPixels(kControls[id].place, tpp_);
    SetWindowPos(control, nullptr, r.left, r.top, r.width, r.height, SWP_NOZORDER | SWP_NOACTIVATE);
    // The swatches have no font: their windows let it pass.
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(FontOf(kControls[id])), TRUE);
  }
  picBox.Redraw(layout::ToPixels(kControls[layout::kPicBox].place, tpp_), skin_, tpp_);
  TitleBar.SetTwipsPerPixel(tpp_);
  // An outline that cannot be made anew leaves the window whole, never cut
  // to its old size.
  if (!Attempt([&] { lifecycle_view_.ApplyShape(); }) || !SkinRegion) {
    SetWindowRgn(hwnd_, nullptr, TRUE);
    SkinRegion = nullptr;
  }
  SetWindowPos(hwnd_, nullptr, place->left, place->top, place->right - place->left, place->bottom - place->top,
               SWP_NOZORDER | SWP_NOACTIVATE);
  InvalidateRect(hwnd_, nullptr, FALSE);
}

bool FrmFade::CreateControls() {
  // In the design table's order, which is the stacking order: each new child
  // goes beneath those made before it, so txtMessage ends up above txtResult.
  const bool made[] = {
      Make<layout::kTmrFade>(tmrFade),     Make<layout::kTxtFocus>(txtFocus),
      Make<layout::kCd>(cd),               Make<layout::kTxtMessage>(txtMessage),
      Make<layout::kCmdSend>(cmdSend),     Make<layout::kTitleBar>(TitleBar),
      Make<layout::kPicBox>(picBox),       Make<layout::kCmdExit>(cmdExit),
      Make<layout::kCmdMinimize>(cmdMinimize), Make<layout::kTxtResult>(txtResult),
      Make<layout::kColor5>(Color5),       Make<layout::kColor4>(Color4),
      Make<layout::kColor3>(Color3),       Make<layout::kColor2>(Color2),
      Make<layout::kColor1>(Color1),
  };
  static_assert(std::size(made) == layout::kControlCount, "every control of the design table");
  return std::all_of(std::begin(made), std::end(made), [](bool b) { return b; });
}

template <ControlId Id, typename T>
bool FrmFade::Make(T& control) {
  static_assert(kControls[Id].kind == T::kKind, "each control is of the kind its design entry names");
  return MakeControl(control, kControls[Id], Id);
}

bool FrmFade::MakeControl(Timer& timer, const layout::Control&, ControlId) {
  timer.Create(hwnd_, kFadeTimerId, layout::kTimerIntervalMs);
  return true;
}

bool FrmFade::MakeControl(ColorDialog& dialog, const layout::Control&, ControlId) {
  dialog.SetOwner(hwnd_);
  return true;
}

bool FrmFade::MakeControl(TextBox& box, const layout::Control& c, ControlId id) {
  const int max_length = id == layout::kTxtMessage ? layout::kMessageMaxLength : 0;
  return box.Create(hwnd_, kFirstControlId + id, layout::ToPixels(c.place, tpp_), FontOf(c), c.back_color,
                    c.fore_color, max_length);
}

bool FrmFade::MakeControl(Button3D& button, const layout::Control& c, ControlId id) {
  return button.Create(hwnd_, kFirstControlId + id, layout::ToPixels(c.place, tpp_), c.caption, FontOf(c),
                       c.tooltip);
}

bool FrmFade::MakeControl(Panel3D& panel, const layout::Control& c, ControlId id) {
  return panel.Create(hwnd_, kFirstControlId + id, layout::ToPixels(c.place, tpp_), c.caption, FontOf(c), tpp_);
}

bool FrmFade::MakeControl(PictureBox& box, const layout::Control& c, ControlId id) {
  return box.Create(hwnd_, kFirstControlId + id, layout::ToPixels(c.place, tpp_), c.back_color, skin_, tpp_);
}

bool FrmFade::MakeControl(SwatchLabel& swatch, const layout::Control& c, ControlId id) {
  return swatch.Create(hwnd_, kFirstControlId + id, layout::ToPixels(c.place, tpp_), c.back_color);
}

HFONT FrmFade::FontOf(const layout::Control& c) const {
  return c.font == &layout::kSmallButtonFont ? small_button_font_.get() : font_.get();
}

std::u16string FrmFade::Caption() const { return hwnd_ ? WindowText(hwnd_) : std::u16string(); }

namespace {
// Where the window is; a drag must never take an unknown place for 0, 0.
RECT WindowPlace(HWND hwnd) {
  RECT rc;
  if (!hwnd || !GetWindowRect(hwnd, &rc)) throw std::runtime_error("the window's place is unknown");
  return rc;
}
}  // namespace

float FrmFade::Left() const { return PixelsToTwips(WindowPlace(hwnd_).left, tpp_.x); }

float FrmFade::Top() const { return PixelsToTwips(WindowPlace(hwnd_).top, tpp_.y); }

void FrmFade::SetLeft(float twips) {
  const int x = TwipsToPixels(twips, tpp_.x);
  RECT rc{};
  if (!hwnd_ || !GetWindowRect(hwnd_, &rc)) return;
  SetWindowPos(hwnd_, nullptr, x, rc.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void FrmFade::SetTop(float twips) {
  const int y = TwipsToPixels(twips, tpp_.y);
  RECT rc{};
  if (!hwnd_ || !GetWindowRect(hwnd_, &rc)) return;
  SetWindowPos(hwnd_, nullptr, rc.left, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void FrmFade::Show() {
  if (hwnd_) ShowWindow(hwnd_, SW_SHOW);
}

void FrmFade::Hide() {
  if (hwnd_) ShowWindow(hwnd_, SW_HIDE);
}

SwatchLabel& FrmFade::Color(int index) {
  SwatchLabel* const swatches[] = {&Color1, &Color2, &Color3, &Color4, &Color5};
  if (index < 1 || index > 5) throw std::out_of_range("there are five swatches");
  return *swatches[index - 1];
}

HWND FrmFade::ControlWindow(ControlId id) const {
  switch (id) {
    case layout::kTmrFade:
    case layout::kCd:
    case layout::kControlCount:
      return nullptr;  // the timer and the dialog have no window
    case layout::kTxtFocus: return txtFocus.hWnd();
    case layout::kTxtMessage: return txtMessage.hWnd();
    case layout::kCmdSend: return cmdSend.hWnd();
    case layout::kTitleBar: return TitleBar.hWnd();
    case layout::kPicBox: return picBox.hWnd();
    case layout::kCmdExit: return cmdExit.hWnd();
    case layout::kCmdMinimize: return cmdMinimize.hWnd();
    case layout::kTxtResult: return txtResult.hWnd();
    case layout::kColor5: return Color5.hWnd();
    case layout::kColor4: return Color4.hWnd();
    case layout::kColor3: return Color3.hWnd();
    case layout::kColor2: return Color2.hWnd();
    case layout::kColor1: return Color1.hWnd();
  }
  return nullptr;
}

std::optional<ControlId> FrmFade::ControlOf(HWND hwnd) const {
  return hwnd ? ControlOf(GetDlgCtrlID(hwnd), hwnd) : std::nullopt;
}

// A control's identifier is kFirstControlId plus its place in the design
// table; the window must be that control's, since any window may carry any
// number.
std::optional<ControlId> FrmFade::ControlOf(int identifier, HWND hwnd) const {
  const int index = identifier - kFirstControlId;
  if (!hwnd || index < 0 || index >= layout::kControlCount) return std::nullopt;
  const auto id = static_cast<ControlId>(index);
  if (ControlWindow(id) != hwnd) return std::nullopt;
  return id;
}

TextBox* FrmFade::TextBoxOf(HWND hwnd) {
  switch (ControlOf(hwnd).value_or(layout::kControlCount)) {
    case layout::kTxtFocus: return &txtFocus;
    case layout::kTxtMessage: return &txtMessage;
    case layout::kTxtResult: return &txtResult;
    default: return nullptr;
  }
}

void FrmFade::MoveFocus(bool forward) {
  const auto next = NextFocusable(*this, ControlOf(GetFocus()), forward, true);
  if (!next) return;
  HWND target = ControlWindow(*next);
  SetFocus(target);
  // An edit control entered by Tab has its text selected, as in a dialog.
  if (TextBoxOf(target)) SendMessageW(target, EM_SETSEL, 0, -1);
}

bool FrmFade::PreTranslate(const MSG& msg) {
  if (msg.message != WM_KEYDOWN || msg.wParam != VK_TAB) return false;
  if (!hwnd_ || (msg.hwnd != hwnd_ && !IsChild(hwnd_, msg.hwnd))) return false;
  if (GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0) return false;
  MoveFocus(GetKeyState(VK_SHIFT) >= 0);
  return true;
}

FrmFade* FrmFade::FromWindow(HWND hwnd) {
  HWND root = hwnd ? GetAncestor(hwnd, GA_ROOT) : nullptr;
  return LinkedObject<FrmFade>(root);
}

LRESULT FrmFade::Handle(UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT painted = 0;  // painting covers every pixel, so nothing is erased
  if (HandlePaintMessages(hwnd_, msg, wp, [this](HDC dc) { Paint(dc); }, painted)) return painted;
  switch (msg) {
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
      if (TextBox* box = TextBoxOf(reinterpret_cast<HWND>(lp))) {
        return reinterpret_cast<LRESULT>(box->Colorize(reinterpret_cast<HDC>(wp)));
      }
      break;
    case WM_COMMAND:
    case WM_NOTIFY: {
      // A control tells of an event, as Windows' own controls do: which
      // control, its identifier and window say; what, the code. A WM_NOTIFY
      // is read only while one of the program's controls sends it.
      NMHDR* const notice = msg == WM_NOTIFY ? SentNotice(lp) : nullptr;
      const auto id = notice ? ControlOf(static_cast<int>(notice->idFrom), notice->hwndFrom)
                             : msg == WM_COMMAND ? ControlOf(LOWORD(wp), reinterpret_cast<HWND>(lp)) : std::nullopt;
      if (!id) break;
      const auto* mouse = reinterpret_cast<const MouseNotice*>(notice);
      switch (Event(*id, notice ? notice->code : HIWORD(wp))) {
        case Event(layout::kTxtMessage, kKeyPress):
          txtMessage_KeyPress(reinterpret_cast<KeyNotice*>(notice)->key_ascii);
          break;
        case Event(layout::kTxtMessage, EN_CHANGE): txtMessage_Change(); break;
        case Event(layout::kTxtResult, EN_CHANGE): txtResult_Change(); break;
        case Event(layout::kCmdSend, BN_CLICKED): cmdSend_Click(); break;
        case Event(layout::kCmdExit, BN_CLICKED): cmdExit_Click(); break;
        case Event(layout::kCmdMinimize, BN_CLICKED): cmdMinimize_Click(); break;
        case Event(layout::kColor1, STN_CLICKED): Color_Click(1); break;
        case Event(layout::kColor2, STN_CLICKED): Color_Click(2); break;
        case Event(layout::kColor3, STN_CLICKED): Color_Click(3); break;
        case Event(layout::kColor4, STN_CLICKED): Color_Click(4); break;
        case Event(layout::kColor5, STN_CLICKED): Color_Click(5); break;
        case Event(layout::kColor1, kColorChanged):
        case Event(layout::kColor2, kColorChanged):
        case Event(layout::kColor3, kColorChanged):
        case Event(layout::kColor4, kColorChanged):
        case Event(layout::kColor5, kColorChanged): Color_Change(); break;
        case Event(layout::kTitleBar, kMouseDown):
          TitleBar_MouseDown(mouse->button, mouse->shift, mouse->x, mouse->y);
          break;
        case Event(layout::kTitleBar, kMouseMove):
          TitleBar_MouseMove(mouse->button, mouse->shift, mouse->x, mouse->y);
          break;
        case Event(layout::kTitleBar, kMouseUp):
          TitleBar_MouseUp(mouse->button, mouse->shift, mouse->x, mouse->y);
          break;
        case Event(layout::kTitleBar, kCaptureLost): TitleBar_CaptureLost(); break;
        default: break;
      }
      return 0;
    }
    case WM_TIMER:
      if (wp != tmrFade.Id()) break;
      if (tmrFade.Started()) tmrFade_Timer();
      return 0;
    case WM_MOUSEMOVE: {
      // Tray notifications arrive as mouse moves too, with the mouse message
      // number where a real move has x: both decode alike.
      float x = 0, y = 0;
      DecodeMousePosition(static_cast<std::uint32_t>(lp), tpp_, x, y);
      Form_MouseMove(ButtonsHeld(wp), ShiftState(), x, y);
      return 0;
    }
    case kWmDpiChanged:
      Attempt([&] { OnDpiChanged(LOWORD(wp), reinterpret_cast<const RECT*>(lp)); });
      return 0;
    case WM_ACTIVATE:
      OnActivate(LOWORD(wp) != WA_INACTIVE, HIWORD(wp) != 0);
      return 0;
    case WM_SETFOCUS:
      GiveFocusBack();
      return 0;
    case WM_ENDSESSION:
      // The session ends the process without destroying the window.
      if (wp) RemoveTrayIconOf(hwnd_);
      return 0;
    case WM_CLOSE:
      OnClose();
      return 0;
    case WM_DESTROY:
      OnDestroy();
      return 0;
    default:
      // A registered message has no fixed number, so no case of its own; the
      // timer's ticks never get this far.
      if (msg != 0 && msg == TaskbarCreatedMessage()) {
        TrayTaskbarCreated(hwnd_);
        return 0;
      }
      break;
  }
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

void FrmFade::OnActivate(bool active, bool minimized) {
  if (!active) {
    HWND focus = GetFocus();
    if (focus && IsChild(hwnd_, focus)) last_focus_ = focus;
  } else if (!minimized) {
    GiveFocusBack();
  }
}

// The window itself never keeps the focus: it goes back to the control that
// had it, or to the first one in the tab order.
void FrmFade::GiveFocusBack() {
  HWND target = last_focus_ && IsWindow(last_focus_) && IsChild(hwnd_, last_focus_) ? last_focus_ : nullptr;
  if (!target) {
    if (const auto first = NextFocusable(*this, std::nullopt, true, false)) target = ControlWindow(*first);
  }
  HWND focus = GetFocus();
  if (target && !(focus && IsChild(hwnd_, focus))) SetFocus(target);
}

// Closing ends the program even when the window cannot be destroyed.
void FrmFade::OnClose() {
  if (!DestroyLinkedWindow(hwnd_) && quit_on_destroy_) PostQuitMessage(0);
}

// The way out comes first: nothing that fails after it keeps the process.
void FrmFade::OnDestroy() {
  if (quit_on_destroy_) PostQuitMessage(0);
  RemoveTrayIconOf(hwnd_);
}

void FrmFade::Paint(HDC dc) {
  RECT rc{};
  GetClientRect(hwnd_, &rc);
  FillRect(dc, &rc, back_brush_.get());
  skin_.Draw(dc, 0, 0);
}

}  // namespace fader
