#include "window/frm_fade.h"

#include <algorithm>
#include <stdexcept>
#include <type_traits>
#include <variant>

#include "base/wide_text_win32.h"
#include "desktop/tray_win32.h"
#include "window/control_win32.h"
#include "window/resource_ids.h"
#include "window/screen_win32.h"

namespace fader {
namespace {

using layout::ControlId;
using layout::kControls;

constexpr int kFirstControlId = 1000;
constexpr UINT_PTR kFadeTimerId = 1;

int WindowId(ControlId id) { return kFirstControlId + static_cast<int>(id); }

// The member that is each control of the design table. The alternatives are
// in the order of layout::Kind, so the member's type gives the control's kind.
using ControlMember = std::variant<Timer FrmFade::*, TextBox FrmFade::*, ColorDialog FrmFade::*, Button3D FrmFade::*,
                                   Panel3D FrmFade::*, PictureBox FrmFade::*, SwatchLabel FrmFade::*>;

struct ControlSlot {
  ControlId id;
  ControlMember member;
  int swatch;  // the fade colour number 1 ... 5 a swatch shows; 0 for the rest
};

// In the design table's order, which is the stacking order.
constexpr std::array<ControlSlot, layout::kControlCount> kSlots{{
    {layout::kTmrFade, &FrmFade::tmrFade, 0},
    {layout::kTxtFocus, &FrmFade::txtFocus, 0},
    {layout::kCd, &FrmFade::cd, 0},
    {layout::kTxtMessage, &FrmFade::txtMessage, 0},
    {layout::kCmdSend, &FrmFade::cmdSend, 0},
    {layout::kTitleBar, &FrmFade::TitleBar, 0},
    {layout::kPicBox, &FrmFade::picBox, 0},
    {layout::kCmdExit, &FrmFade::cmdExit, 0},
    {layout::kCmdMinimize, &FrmFade::cmdMinimize, 0},
    {layout::kTxtResult, &FrmFade::txtResult, 0},
    {layout::kColor5, &FrmFade::Color5, 5},
    {layout::kColor4, &FrmFade::Color4, 4},
    {layout::kColor3, &FrmFade::Color3, 3},
    {layout::kColor2, &FrmFade::Color2, 2},
    {layout::kColor1, &FrmFade::Color1, 1},
}};

constexpr bool SlotsFollowTheDesign() {
  for (std::size_t i = 0; i < kSlots.size(); ++i) {
    if (kSlots[i].id != static_cast<ControlId>(i)) return false;
    if (kSlots[i].member.index() != static_cast<std::size_t>(kControls[i].kind)) return false;
  }
  return true;
}
static_assert(SlotsFollowTheDesign(), "one slot per design entry, in its order and of its kind");

// The control the focus moves to from `from`: one whose window exists and is
// enabled and, with `shown_only`, visible.
std::optional<ControlId> NextFocusable(const FrmFade& form, std::optional<ControlId> from, bool forward,
                                       bool shown_only) {
  struct Query {
    const FrmFade& form;
    bool shown_only;
  } query{form, shown_only};
  auto can_focus = [](ControlId id, void* context) {
    const Query& q = *static_cast<const Query*>(context);
    HWND h = q.form.ControlWindow(id);
    return h && IsWindowEnabled(h) && (!q.shown_only || IsWindowVisible(h));
  };
  return layout::NextInTabOrder(from, forward, can_focus, &query);
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
  tpp_ = ScreenTwipsPerPixel();
  const layout::Window& design = layout::kFrmFade;
  // Brushes, fonts, the skin and the icons only make the window look right:
  // without one it still works, in the system's colours and font.
  back_brush_.reset(CreateSolidBrush(ToColorRef(design.back_color)));
  font_ = MakeFont(*design.font);
  small_button_font_ = MakeFont(layout::kSmallButtonFont);
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
  const int w = TwipsToPixels(design.client_width, tpp_.x);
  const int h = TwipsToPixels(design.client_height, tpp_.y);
  // Centred; a screen whose size the system cannot tell gets it at the top left.
  const int x = std::max(0, (GetSystemMetrics(SM_CXSCREEN) - w) / 2);
  const int y = std::max(0, (GetSystemMetrics(SM_CYSCREEN) - h) / 2);
  // A popup has no frame, caption bar or system menu, so the client area is
  // the whole window; the taskbar button comes from WS_EX_APPWINDOW.
  CreateLinkedWindow(this, kWhat, WS_EX_APPWINDOW, cls, ToWide(design.caption).c_str(), WS_POPUP | WS_CLIPCHILDREN, x, y, w, h, nullptr, 0);
  if (!hwnd_) return false;
  if (icon_) SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
  if (icon_) SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small_icon_ ? small_icon_ : icon_));
  if (!CreateControls()) {
    DestroyLinkedWindow(hwnd_);
    return false;
  }
  return true;
}

bool FrmFade::CreateControls() {
  bool ok = true;
  // Children are created in stacking order: each new one goes beneath the
  // ones before it, so txtMessage ends up above txtResult.
  for (const ControlSlot& slot : kSlots) {
    const layout::Control& c = kControls[slot.id];
    const layout::PixelRect r = layout::ToPixels(c.place, tpp_);
    const int id = WindowId(slot.id);
    HFONT font = c.font == &layout::kSmallButtonFont ? small_button_font_.get() : font_.get();
    const bool made = std::visit(
        [&](auto member) {
          auto& control = this->*member;
          using T = std::remove_reference_t<decltype(control)>;
          if constexpr (std::is_same_v<T, Timer>) {
            control.Create(hwnd_, kFadeTimerId, layout::kTimerIntervalMs, true);
            return true;
          } else if constexpr (std::is_same_v<T, ColorDialog>) {
            control.SetOwner(hwnd_);
            return true;
          } else if constexpr (std::is_same_v<T, TextBox>) {
            const int max_length = slot.id == layout::kTxtMessage ? layout::kMessageMaxLength : 0;
            return control.Create(hwnd_, id, r, font, c.back_color, c.fore_color, max_length);
          } else if constexpr (std::is_same_v<T, Button3D>) {
            return control.Create(hwnd_, id, r, c.caption, font, c.tooltip);
          } else if constexpr (std::is_same_v<T, Panel3D>) {
            return control.Create(hwnd_, id, r, c.caption, font, tpp_);
          } else if constexpr (std::is_same_v<T, PictureBox>) {
            return control.Create(hwnd_, id, r, c.back_color, skin_, tpp_);
          } else {
            static_assert(std::is_same_v<T, SwatchLabel>);
            return control.Create(hwnd_, id, r, c.back_color);
          }
        },
        slot.member);
    ok = made && ok;
  }
  tmrFade.Tick = [this] { tmrFade_Timer(); };
  txtMessage.KeyPress = [this](std::int16_t& key) { txtMessage_KeyPress(key); };
  txtMessage.Changed = [this] { txtMessage_Change(); };
  txtResult.Changed = [this] { txtResult_Change(); };
  cmdSend.Click = [this] { cmdSend_Click(); };
  cmdExit.Click = [this] { cmdExit_Click(); };
  cmdMinimize.Click = [this] { cmdMinimize_Click(); };
  for (int i = 1; i <= 5; ++i) {
    Color(i).Click = [this, i] { Color_Click(i); };
    Color(i).ColorChanged = [this] { Color_Change(); };
  }
  TitleBar.MouseDown = [this](std::int16_t b, std::int16_t s, float x, float y) { TitleBar_MouseDown(b, s, x, y); };
  TitleBar.MouseMove = [this](std::int16_t b, std::int16_t s, float x, float y) { TitleBar_MouseMove(b, s, x, y); };
  TitleBar.MouseUp = [this](std::int16_t b, std::int16_t s, float x, float y) { TitleBar_MouseUp(b, s, x, y); };
  TitleBar.CaptureLost = [this] { TitleBar_CaptureLost(); };
  return ok;
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
  for (const ControlSlot& slot : kSlots) {
    if (slot.swatch != 0 && slot.swatch == index) return this->*std::get<SwatchLabel FrmFade::*>(slot.member);
  }
  throw std::out_of_range("there are five swatches");
}

HWND FrmFade::ControlWindow(ControlId id) const {
  if (id < 0 || id >= layout::kControlCount) return nullptr;
  return std::visit(
      [this](auto member) -> HWND {
        const auto& control = this->*member;
        if constexpr (requires { control.hWnd(); }) {
          return control.hWnd();
        } else {
          return nullptr;  // the timer and the dialog have no window
        }
      },
      kSlots[id].member);
}

std::optional<ControlId> FrmFade::ControlOf(HWND hwnd) const {
  if (!hwnd) return std::nullopt;
  for (const ControlSlot& slot : kSlots) {
    if (ControlWindow(slot.id) == hwnd) return slot.id;
  }
  return std::nullopt;
}

TextBox* FrmFade::TextBoxOf(HWND hwnd) {
  if (!hwnd) return nullptr;
  for (const ControlSlot& slot : kSlots) {
    const auto* member = std::get_if<TextBox FrmFade::*>(&slot.member);
    if (member && (this->**member).hWnd() == hwnd) return &(this->**member);
  }
  return nullptr;
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
      if (HIWORD(wp) == EN_CHANGE) {
        if (TextBox* box = TextBoxOf(reinterpret_cast<HWND>(lp)); box && box->Changed) box->Changed();
        return 0;
      }
      break;
    case WM_TIMER:
      if (wp == tmrFade.Id()) {
        tmrFade.OnTimer();
        return 0;
      }
      break;
    case WM_MOUSEMOVE: {
      // Tray notifications arrive here too, with the mouse message number
      // where a real move has x: both decode alike.
      float x = 0, y = 0;
      layout::DecodeMousePosition(static_cast<std::uint32_t>(lp), tpp_, x, y);
      Form_MouseMove(ButtonsHeld(wp), ShiftState(), x, y);
      return 0;
    }
    case WM_ACTIVATE:
      if (LOWORD(wp) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && IsChild(hwnd_, focus)) last_focus_ = focus;
        return 0;
      }
      [[fallthrough]];
    case WM_SETFOCUS: {
      // The window itself never keeps the focus: it goes back to the control
      // that had it, or to the first one in the tab order.
      if (HIWORD(wp) && msg == WM_ACTIVATE) return 0;  // minimized
      HWND target = last_focus_ && IsWindow(last_focus_) && IsChild(hwnd_, last_focus_) ? last_focus_ : nullptr;
      if (!target) {
        if (const auto first = NextFocusable(*this, std::nullopt, true, false)) {
          target = ControlWindow(*first);
        }
      }
      HWND focus = GetFocus();
      if (target && !(focus && IsChild(hwnd_, focus))) SetFocus(target);
      return 0;
    }
    case WM_ENDSESSION:
      // The session ends the process without destroying the window.
      if (wp) RemoveTrayIconOf(hwnd_);
      return 0;
    case WM_CLOSE:
      // Closing ends the program even when the window cannot be destroyed.
      if (!DestroyLinkedWindow(hwnd_) && quit_on_destroy_) PostQuitMessage(0);
      return 0;
    case WM_DESTROY:
      // The way out comes first: nothing that fails after it keeps the process.
      if (quit_on_destroy_) PostQuitMessage(0);
      RemoveTrayIconOf(hwnd_);
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

void FrmFade::Paint(HDC dc) {
  RECT rc{};
  GetClientRect(hwnd_, &rc);
  FillRect(dc, &rc, back_brush_.get());
  skin_.Draw(dc, 0, 0);
}

}  // namespace fader
