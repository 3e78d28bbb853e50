// The main window frmFade: a borderless window drawn by its skin, with its
// fifteen controls, and one handler member function per control event. The
// handlers live in frm_fade_handlers_win32.cpp; everything here only builds
// the window, and its window procedure routes each event to its handler.
//
// Start-up, as the program runs it:
//   FrmFade form;  form.Create(instance);    // window and controls, hidden
//   form.Form_Load();  form.Show();  form.tmrFade.Start();
//   RunMessageLoop();
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "base/gdi_handles_win32.h"
#include "base/twips.h"
#include "desktop/tray.h"
#include "window/announcements.h"
#include "window/button_3d_win32.h"
#include "window/color_dialog_win32.h"
#include "window/frm_fade_views_win32.h"
#include "window/layout.h"
#include "window/panel_3d_win32.h"
#include "window/picture_box_win32.h"
#include "window/skin_image_win32.h"
#include "window/swatch_label_win32.h"
#include "window/text_box_win32.h"
#include "window/timer_win32.h"
#include "window/window_link_win32.h"

namespace fader {

class FrmFade : public LinkedWindow {
 public:
  static constexpr const wchar_t* kClassName = L"frmFade";
  static constexpr const char* kWhat = "frmFade";  // names the kind in the window links

  FrmFade() = default;
  ~FrmFade();

  // Creates the window, hidden and centred on the screen, with all its
  // controls; the timer is set up but does not tick until tmrFade.Start().
  // False when the window could not be created.
  bool Create(HINSTANCE instance);

  // -- the window's own properties ---------------------------------------
  std::u16string Caption() const;
  // The program icon (32 x 32), also the window's icon; owned by the window.
  HICON Icon() const { return icon_; }
  // The coordinate unit: layout::kScaleTwips (1).
  std::int16_t ScaleMode() const { return layout::kScaleTwips; }
  // The window's top-left corner on the screen, in twips; reading throws
  // std::runtime_error when the system cannot say where the window is.
  // Setting moves the window at once (to the nearest pixel); a place beyond
  // the 32-bit pixel range throws fader::OverflowError.
  float Left() const;
  float Top() const;
  void SetLeft(float twips);
  void SetTop(float twips);
  // Shows (and activates) or hides the window.
  void Show();
  void Hide();
  // Whether the window's destruction ends the message loop (WM_QUIT); on by
  // default, tests that make several windows turn it off.
  void SetQuitOnDestroy(bool on) { quit_on_destroy_ = on; }

  // The dots per inch the window is laid out at (those of its screen, in
  // 96 to 480), and the twips per pixel that follow from them.
  int Dpi() const { return dpi_; }
  double TwipsPerPixelX() const { return tpp_.x; }
  double TwipsPerPixelY() const { return tpp_.y; }

  // -- the controls -------------------------------------------------------
  Timer tmrFade;
  TextBox txtFocus;
  ColorDialog cd;
  TextBox txtMessage;
  Button3D cmdSend;
  Panel3D TitleBar;
  PictureBox picBox;
  Button3D cmdExit;
  Button3D cmdMinimize;
  TextBox txtResult;
  SwatchLabel Color5;
  SwatchLabel Color4;
  SwatchLabel Color3;
  SwatchLabel Color2;
  SwatchLabel Color1;

  // Color1 ... Color5 by number; throws std::out_of_range for other numbers.
  SwatchLabel& Color(int index);

  // The window of a control with one (nullptr for the timer and the dialog).
  HWND ControlWindow(layout::ControlId id) const;
  // The control whose window `hwnd` is, if any, found by its identifier;
  // the same from an identifier a message carries with its window.
  std::optional<layout::ControlId> ControlOf(HWND hwnd) const;
  std::optional<layout::ControlId> ControlOf(int identifier, HWND hwnd) const;

  // -- state kept by the window for its handlers ---------------------------
  // The three announcement strings.
  Banners banners;
  // The region applied to the window (the system owns it once applied);
  // nullptr while the window keeps its rectangle.
  HRGN SkinRegion = nullptr;

  // -- handlers (frm_fade_handlers_win32.cpp) ------------------------------
  void Form_Load();
  void Form_MouseMove(std::int16_t button, std::int16_t shift, float x, float y);
  void tmrFade_Timer();
  void txtMessage_KeyPress(std::int16_t& keyAscii);
  void txtMessage_Change();
  void txtResult_Change();
  void Color_Change();
  void cmdSend_Click();
  void Color_Click(int index);
  void cmdExit_Click();
  void cmdMinimize_Click();
  void TitleBar_MouseDown(std::int16_t button, std::int16_t shift, float x, float y);
  void TitleBar_MouseMove(std::int16_t button, std::int16_t shift, float x, float y);
  void TitleBar_MouseUp(std::int16_t button, std::int16_t shift, float x, float y);
  void TitleBar_CaptureLost();

  // -- keyboard -------------------------------------------------------------
  // Moves the focus to the next (or, backward, the previous) control in the
  // tab order that can take it now; wraps at the ends.
  void MoveFocus(bool forward);
  // Handles Tab and Shift+Tab for a message about to be dispatched; true when
  // it did, and then the message must not be dispatched.
  bool PreTranslate(const MSG& msg);
  // The frmFade that `hwnd` or one of its ancestors is, or nullptr.
  static FrmFade* FromWindow(HWND hwnd);

 private:
  LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp) override;
  void OnDpiChanged(int dpi, const RECT* place);
  void UseDpi(int dpi);
  void OnActivate(bool active, bool minimized);
  void GiveFocusBack();
  void OnClose();
  void OnDestroy();
  void Paint(HDC dc);

  bool CreateWindowAndControls(HINSTANCE instance);
  bool CreateControls();
  // Creates the control of design entry Id, which must be of its kind.
  template <layout::ControlId Id, typename T>
  bool Make(T& control);
  bool MakeControl(Timer& timer, const layout::Control& design, layout::ControlId id);
  bool MakeControl(ColorDialog& dialog, const layout::Control& design, layout::ControlId id);
  bool MakeControl(TextBox& box, const layout::Control& design, layout::ControlId id);
  bool MakeControl(Button3D& button, const layout::Control& design, layout::ControlId id);
  bool MakeControl(Panel3D& panel, const layout::Control& design, layout::ControlId id);
  bool MakeControl(PictureBox& box, const layout::Control& design, layout::ControlId id);
  bool MakeControl(SwatchLabel& swatch, const layout::Control& design, layout::ControlId id);
  HFONT FontOf(const layout::Control& design) const;
  TextBox* TextBoxOf(HWND hwnd);

  // What the handlers run on: the flows over their views of this window.
  ComposeView compose_view_{*this};
  LifecycleView lifecycle_view_{*this};
  DragView drag_view_{*this};
  ComposeFlow compose_{compose_view_};
  Lifecycle lifecycle_{lifecycle_view_};
  TitleBarDrag drag_{drag_view_};

  HICON icon_ = nullptr;
  HICON small_icon_ = nullptr;
  int dpi_ = 96;
  TwipsPerPixel tpp_{kTwipsPerPixelAt96Dpi, kTwipsPerPixelAt96Dpi};
  Brush back_brush_;
  Font font_;
  Font small_button_font_;
  SkinImage skin_;
  HWND last_focus_ = nullptr;
  bool quit_on_destroy_ = true;
};

}  // namespace fader
