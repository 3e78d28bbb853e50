// The event handlers of frmFade, one per control event. The window routes
// each event here (frm_fade.cpp); the work itself is the platform-free flows
// (compose_flow, announcements, title_bar_drag) over views of this window.
// A handler lets no exception out: what fails is left undone, and the window
// stays usable.
#include <windows.h>

#include <optional>

#include "base/wide_text_win32.h"
#include "chat/chat_send_win32.h"
#include "desktop/region_win32.h"
#include "desktop/tray.h"
#include "desktop/tray_win32.h"
#include "window/attempt.h"
#include "window/frm_fade.h"
#include "window/message_pump_win32.h"

namespace fader {

// -- the views --------------------------------------------------------------

std::int32_t ComposeView::SwatchColor(int index) const { return f_.Color(index).BackColor(); }
void ComposeView::SetSwatchColor(int index, std::int32_t color) { f_.Color(index).SetBackColor(color); }
std::u16string ComposeView::MessageText() const { return f_.txtMessage.Text(); }
bool ComposeView::SetMessageText(std::u16string_view text) { return f_.txtMessage.SetText(text); }
std::u16string ComposeView::ResultText() const { return f_.txtResult.Text(); }
bool ComposeView::SetResultText(std::u16string_view text) { return f_.txtResult.SetText(text); }
void ComposeView::FocusMessage() { f_.txtMessage.SetFocus(); }
void ComposeView::Beep() { MessageBeep(MB_OK); }
bool ComposeView::Post(std::u16string_view markup) { return ChatSend(markup); }
void ComposeView::PumpEvents() { PumpWindowMessages(); }
std::optional<std::int32_t> ComposeView::PickColor() {
  if (!f_.cd.ShowColor()) return std::nullopt;  // Cancel
  return f_.cd.Color();
}

void LifecycleView::ApplyShape() {
  std::int32_t transparent = 0;  // the colour of the picture's top-left pixel
  auto region = MakeRegion([this] { return f_.picBox.hDC(); }, PictureTwips{f_.picBox.Width(), f_.picBox.Height()},
                           TwipsPerPixel{f_.TwipsPerPixelX(), f_.TwipsPerPixelY()}, transparent);
  f_.SkinRegion = ApplyWindowRegion(f_.hWnd(), std::move(region));
}
void LifecycleView::StayOnTop() { fader::StayOnTop(f_.hWnd()); }
bool LifecycleView::Post(std::u16string_view markup) { return ChatSend(markup); }
int LifecycleView::Ask(std::u16string_view text, std::u16string_view title, unsigned style) {
  return MessageBoxW(f_.hWnd(), ToWide(text).c_str(), ToWide(title).c_str(), style);
}
void LifecycleView::RemoveTrayIcon() { RemoveTrayIconOf(f_.hWnd()); }
void LifecycleView::EndProgram() { ExitProcess(0); }

float DragView::Left() const { return f_.Left(); }
void DragView::SetLeft(float twips) { f_.SetLeft(twips); }
float DragView::Top() const { return f_.Top(); }
void DragView::SetTop(float twips) { f_.SetTop(twips); }
void DragView::SetMousePointer(std::int16_t pointer) { f_.TitleBar.SetMousePointer(pointer); }

// -- the handlers -------------------------------------------------------------

// Runs once, after the window and its controls exist and before the window is
// first shown: banners, shape, topmost, the start announcement.
void FrmFade::Form_Load() { lifecycle_.FormLoad(banners); }

// A mouse move over the window, and every tray notification (which arrives as
// WM_MOUSEMOVE with the mouse message where x would be): x in twips.
void FrmFade::Form_MouseMove(std::int16_t, std::int16_t, float x, float) {
  Attempt([&] {
    if (TrayEvent(x, ScaleMode(), TwipsPerPixelX()) != kTrayActionNone) RestoreFromTray(hWnd());
  });
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
