// The event handlers of frmFade, one per control event. The window procedure
// routes each event here (FrmFade::Handle); the work itself is the
// platform-free flows (compose_flow, announcements, title_bar_drag, and the
// tray's in desktop/tray.h) over views of this window.
// A handler lets no exception out: what fails is left undone, and the window
// stays usable.
#include "desktop/tray_win32.h"
#include "window/attempt.h"
#include "window/frm_fade_win32.h"

namespace fader {

// Runs once, after the window and its controls exist and before the window is
// first shown: banners, shape, topmost, the start announcement.
void FrmFade::Form_Load() { lifecycle_.FormLoad(banners); }

// A mouse move over the window, and every tray notification (which arrives as
// WM_MOUSEMOVE with the mouse message where x would be): x in twips. The tray
// decides what brings the window back, and how.
void FrmFade::Form_MouseMove(std::int16_t, std::int16_t, float x, float) {
  Attempt([&] { TrayMouseMessage(hWnd(), x, ScaleMode(), TwipsPerPixelX()); });
}

void FrmFade::tmrFade_Timer() { compose_.Tick(); }

void FrmFade::txtMessage_KeyPress(std::int16_t& keyAscii) { compose_.KeyPress(keyAscii); }

// What the fade renders changed: the message, a swatch's colour, or the
// markup store itself by other means than the tick.
void FrmFade::txtMessage_Change() { compose_.MessageChanged(); }

void FrmFade::txtResult_Change() { compose_.ResultChanged(); }

void FrmFade::Color_Change() { compose_.ColorChanged(); }

void FrmFade::cmdSend_Click() { compose_.SendClick(); }

void FrmFade::Color_Click(int index) { compose_.SwatchClick(index); }

void FrmFade::cmdExit_Click() { lifecycle_.ExitClick(banners); }

// The focus goes to txtFocus, which is never on screen, before the window
// hides. If the window cannot hide behind an icon (the shell refuses it, or
// there is no icon to show) it stays, and the focus goes to the message box.
void FrmFade::cmdMinimize_Click() {
  txtFocus.SetFocus();
  bool hidden = false;
  Attempt([&] { hidden = MinimizeToTray(Icon(), Caption(), hWnd()); });
  if (!hidden) txtMessage.SetFocus();
}

// A press, move or release that fails (a place the system cannot tell) is
// left out; a press that fails leaves the drag off.
void FrmFade::TitleBar_MouseDown(std::int16_t button, std::int16_t shift, float x, float y) {
  Attempt([&] { drag_.MouseDown(button, shift, x, y); });
}

void FrmFade::TitleBar_MouseMove(std::int16_t button, std::int16_t shift, float x, float y) {
  Attempt([&] { drag_.MouseMove(button, shift, x, y); });
}

void FrmFade::TitleBar_MouseUp(std::int16_t button, std::int16_t shift, float x, float y) {
  Attempt([&] { drag_.MouseUp(button, shift, x, y); });
}

void FrmFade::TitleBar_CaptureLost() { Attempt([&] { drag_.CaptureLost(); }); }

}  // namespace fader
