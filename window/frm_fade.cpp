#include "window/frm_fade.h"

#include <stdexcept>

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

std::wstring WideOf(std::u16string_view s) { return std::wstring(s.begin(), s.end()); }

}  // namespace

FrmFade::~FrmFade() {
  if (hwnd_) DestroyWindow(hwnd_);
  if (icon_) DestroyIcon(icon_);
  if (small_icon_) DestroyIcon(small_icon_);
}

bool FrmFade::Create(HINSTANCE instance) {
  if (hwnd_) return true;
  tpp_x_ = ScreenTwipsPerPixelX();
  tpp_y_ = ScreenTwipsPerPixelY();
  const layout::Window& design = layout::kFrmFade;
  back_brush_.reset(CreateSolidBrush(ToColorRef(design.back_color)));
  const std::wstring face = WideOf(design.font->face);
  font_ = MakeFont(face.c_str(), design.font->points, design.font->weight, design.font->italic,
                   design.font->underline, design.font->strike_out, design.font->char_set);
  const layout::Font& sf = layout::kSmallButtonFont;
  const std::wstring small_face = WideOf(sf.face);
  small_button_font_ =
      MakeFont(small_face.c_str(), sf.points, sf.weight, sf.italic, sf.underline, sf.strike_out, sf.char_set);
  skin_.Load(instance, FADER_IDR_SKIN, design.back_color);
  icon_ = static_cast<HICON>(
      LoadImageW(instance, MAKEINTRESOURCEW(FADER_IDI_PROGRAM), IMAGE_ICON, 32, 32, LR_DEFAULTCOLOR));
  small_icon_ = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(FADER_IDI_PROGRAM), IMAGE_ICON,
                                              GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
                                              LR_DEFAULTCOLOR));

  WNDCLASSEXW wc{};
  if (!GetClassInfoExW(instance, kClassName, &wc)) {
    wc = WNDCLASSEXW{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = &FrmFade::Proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kClassName;
    // The icons are the window's own (WM_SETICON): the class may outlive one window.
    if (!RegisterClassExW(&wc)) return false;
  }

  const int w = layout::TwipsToPixels(design.client_width, tpp_x_);
  const int h = layout::TwipsToPixels(design.client_height, tpp_y_);
  const int x = (GetSystemMetrics(SM_CXSCREEN) - w) / 2;
  const int y = (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
  const std::wstring caption = WideOf(design.caption);
  // A popup has no frame, caption bar or system menu, so the client area is
  // the whole window; the taskbar button comes from WS_EX_APPWINDOW.
  CreateWindowExW(WS_EX_APPWINDOW, kClassName, caption.c_str(), WS_POPUP | WS_CLIPCHILDREN, x, y, w, h, nullptr,
                  nullptr, instance, this);
  if (!hwnd_) return false;
  SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
  SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small_icon_ ? small_icon_ : icon_));
  if (!CreateControls(instance)) {
    DestroyWindow(hwnd_);
    return false;
  }
  return true;
}

bool FrmFade::CreateControls(HINSTANCE instance) {
  using namespace layout;
  auto place = [this](ControlId id) {
    const Rect& r = kControls[id].place;
    return PixelRect{TwipsToPixels(r.left, tpp_x_), TwipsToPixels(r.top, tpp_y_), TwipsToPixels(r.width, tpp_x_),
                     TwipsToPixels(r.height, tpp_y_)};
  };
  auto font_of = [this](ControlId id) {
    return kControls[id].font == &kSmallButtonFont ? small_button_font_.get() : font_.get();
  };
  bool ok = true;
  // Children are created in stacking order: each new one goes beneath the
  // ones before it, so txtMessage ends up above txtResult.
  for (int i = 0; i < kControlCount; ++i) {
    const auto id = static_cast<ControlId>(i);
    const Control& c = kControls[id];
    switch (id) {
      case kTmrFade:
        tmrFade.Create(hwnd_, kFadeTimerId, kTimerIntervalMs, true);
        tmrFade.Tick = [this] { tmrFade_Timer(); };
        break;
      case kCd:
        cd.SetOwner(hwnd_);
        break;
      case kTxtFocus:
      case kTxtMessage:
      case kTxtResult: {
        TextBox& box = id == kTxtFocus ? txtFocus : id == kTxtMessage ? txtMessage : txtResult;
        ok = box.Create(hwnd_, WindowId(id), place(id), font_of(id), c.back_color, c.fore_color,
                        id == kTxtMessage ? kMessageMaxLength : 0) && ok;
        break;
      }
      case kCmdSend:
      case kCmdExit:
      case kCmdMinimize: {
        Button3D& b = id == kCmdSend ? cmdSend : id == kCmdExit ? cmdExit : cmdMinimize;
        ok = b.Create(hwnd_, WindowId(id), place(id), c.caption, font_of(id), c.tooltip) && ok;
        break;
      }
      case kTitleBar:
        ok = TitleBar.Create(hwnd_, WindowId(id), place(id), c.caption, font_of(id), tpp_x_, tpp_y_) && ok;
        break;
      case kPicBox:
        ok = picBox.Create(hwnd_, WindowId(id), place(id), c.back_color, instance, FADER_IDR_SKIN, tpp_x_,
                           tpp_y_) && ok;
        break;
      case kColor1:
      case kColor2:
      case kColor3:
      case kColor4:
      case kColor5:
        ok = Color(id == kColor1 ? 1 : id == kColor2 ? 2 : id == kColor3 ? 3 : id == kColor4 ? 4 : 5)
                 .Create(hwnd_, WindowId(id), place(id), c.back_color) && ok;
        break;
      case kControlCount:
        break;
    }
  }
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

float FrmFade::Left() const {
  RECT rc{};
  if (hwnd_) GetWindowRect(hwnd_, &rc);
  return layout::PixelsToTwips(rc.left, tpp_x_);
}

float FrmFade::Top() const {
  RECT rc{};
  if (hwnd_) GetWindowRect(hwnd_, &rc);
  return layout::PixelsToTwips(rc.top, tpp_y_);
}

void FrmFade::SetLeft(float twips) {
  const int x = layout::TwipsToPixels(twips, tpp_x_);
  RECT rc{};
  if (!hwnd_ || !GetWindowRect(hwnd_, &rc)) return;
  SetWindowPos(hwnd_, nullptr, x, rc.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void FrmFade::SetTop(float twips) {
  const int y = layout::TwipsToPixels(twips, tpp_y_);
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
  switch (index) {
    case 1: return Color1;
    case 2: return Color2;
    case 3: return Color3;
    case 4: return Color4;
    case 5: return Color5;
    default: throw std::out_of_range("there are five swatches");
  }
}

HWND FrmFade::ControlWindow(layout::ControlId id) const {
  using namespace layout;
  switch (id) {
    case kTxtFocus: return txtFocus.hWnd();
    case kTxtMessage: return txtMessage.hWnd();
    case kCmdSend: return cmdSend.hWnd();
    case kTitleBar: return TitleBar.hWnd();
    case kPicBox: return picBox.hWnd();
    case kCmdExit: return cmdExit.hWnd();
    case kCmdMinimize: return cmdMinimize.hWnd();
    case kTxtResult: return txtResult.hWnd();
    case kColor5: return Color5.hWnd();
    case kColor4: return Color4.hWnd();
    case kColor3: return Color3.hWnd();
    case kColor2: return Color2.hWnd();
    case kColor1: return Color1.hWnd();
    default: return nullptr;
  }
}

std::optional<layout::ControlId> FrmFade::ControlOf(HWND hwnd) const {
  if (!hwnd) return std::nullopt;
  for (int i = 0; i < layout::kControlCount; ++i) {
    const auto id = static_cast<layout::ControlId>(i);
    if (ControlWindow(id) == hwnd) return id;
  }
  return std::nullopt;
}

TextBox* FrmFade::TextBoxOf(HWND hwnd) {
  if (!hwnd) return nullptr;
  if (hwnd == txtMessage.hWnd()) return &txtMessage;
  if (hwnd == txtResult.hWnd()) return &txtResult;
  if (hwnd == txtFocus.hWnd()) return &txtFocus;
  return nullptr;
}

void FrmFade::MoveFocus(bool forward) {
  auto available = [](layout::ControlId id, void* self) {
    HWND h = static_cast<FrmFade*>(self)->ControlWindow(id);
    return h && IsWindowEnabled(h) && IsWindowVisible(h);
  };
  const auto next = layout::NextInTabOrder(ControlOf(GetFocus()), forward, available, this);
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
  if (!hwnd) return nullptr;
  HWND root = GetAncestor(hwnd, GA_ROOT);
  if (!root) return nullptr;
  wchar_t cls[32] = {};
  if (!GetClassNameW(root, cls, 32) || lstrcmpiW(cls, kClassName) != 0) return nullptr;
  return reinterpret_cast<FrmFade*>(GetWindowLongPtrW(root, GWLP_USERDATA));
}

LRESULT CALLBACK FrmFade::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  FrmFade* self = nullptr;
  if (msg == WM_NCCREATE) {
    self = static_cast<FrmFade*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    if (self) self->hwnd_ = hwnd;
  } else {
    self = reinterpret_cast<FrmFade*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  }
  if (!self || !self->hwnd_) return DefWindowProcW(hwnd, msg, wp, lp);
  try {
    return self->Handle(msg, wp, lp);
  } catch (...) {
    NoteEscapedException("frmFade");
    return 0;
  }
}

LRESULT FrmFade::Handle(UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT painted = 0;  // painting covers every pixel, so nothing is erased
  if (HandlePaintMessages(hwnd_, msg, wp, [this](HDC dc) { Paint(dc); }, painted)) return painted;
  if (msg != 0 && msg == TaskbarCreatedMessage()) {
    TrayTaskbarCreated(hwnd_);
    return 0;
  }
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
      layout::DecodeMousePosition(static_cast<std::uint32_t>(lp), tpp_x_, x, y);
      if (tpp_y_ != tpp_x_) {
        float unused = 0;
        layout::DecodeMousePosition(static_cast<std::uint32_t>(lp), tpp_y_, unused, y);
      }
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
        auto available = [](layout::ControlId id, void* self) {
          HWND h = static_cast<FrmFade*>(self)->ControlWindow(id);
          return h && IsWindowEnabled(h);
        };
        if (const auto first = layout::NextInTabOrder(std::nullopt, true, available, this)) {
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
    case WM_DESTROY:
      RemoveTrayIconOf(hwnd_);
      if (quit_on_destroy_) PostQuitMessage(0);
      return 0;
    case WM_NCDESTROY: {
      HWND h = hwnd_;
      hwnd_ = nullptr;
      SetWindowLongPtrW(h, GWLP_USERDATA, 0);
      return DefWindowProcW(h, msg, wp, lp);
    }
  }
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

void FrmFade::Paint(HDC dc) {
  RECT rc;
  GetClientRect(hwnd_, &rc);
  FillRect(dc, &rc, back_brush_.get());
  skin_.Draw(dc, 0, 0);
}

}  // namespace fader
