// The event handlers of frmFade, one per control event. The window routes
// each event here (frm_fade.cpp); the work itself is the platform-free flows
// (compose_flow, announcements, title_bar_drag) over views of this window.
// The window procedures catch at their edge.
#include <windows.h>

#include <optional>

#include "chat/chat_send_win32.h"
#include "desktop/region_win32.h"
#include "desktop/tray.h"
#include "desktop/tray_win32.h"
#include "window/compose_flow.h"
#include "window/frm_fade.h"
#include "window/message_pump_win32.h"
#include "window/title_bar_drag.h"

namespace fader {
namespace {

// A view of the window for a flow whose lines go to the chat room.
template <typename Controls>
class RoomView : public Controls {
 public:
  explicit RoomView(FrmFade& f) : f_(f) {}
  bool Post(std::u16string_view markup) override { return ChatSend(markup); }

 protected:
  FrmFade& f_;
};

// The controls the compose flow reads and writes.
class ComposeView : public RoomView<ComposeControls> {
 public:
  using RoomView::RoomView;
  std::int32_t SwatchColor(int index) const override { return f_.Color(index).BackColor(); }
  void SetSwatchColor(int index, std::int32_t color) override { f_.Color(index).SetBackColor(color); }
  std::u16string MessageText() const override { return f_.txtMessage.Text(); }
  void SetMessageText(std::u16string_view text) override { f_.txtMessage.SetText(text); }
  std::u16string ResultText() const override { return f_.txtResult.Text(); }
  void SetResultText(std::u16string_view text) override { f_.txtResult.SetText(text); }
  void FocusMessage() override { f_.txtMessage.SetFocus(); }
  void Beep() override { MessageBeep(MB_OK); }
  void PumpEvents() override { PumpWindowMessages(); }
  std::optional<std::int32_t> PickColor() override {
    if (!f_.cd.ShowColor()) return std::nullopt;  // Cancel
    return f_.cd.Color();
  }
};

// Start-up and exit on the real window and system.
class LifecycleView : public RoomView<LifecycleControls> {
 public:
  using RoomView::RoomView;
  void ApplyShape() override {
    std::int32_t transparent = 0;  // the colour of the picture's top-left pixel
    auto region = MakeRegion([this] { return f_.picBox.hDC(); },
                             PictureTwips{f_.picBox.Width(), f_.picBox.Height()},
                             TwipsPerPixel{f_.TwipsPerPixelX(), f_.TwipsPerPixelY()}, transparent);
    f_.SkinRegion = ApplyWindowRegion(f_.hWnd(), std::move(region));
  }
  void StayOnTop() override { fader::StayOnTop(f_.hWnd()); }
  int Ask(std::u16string_view text, std::u16string_view title, unsigned style) override {
    const std::wstring t(text.begin(), text.end()), c(title.begin(), title.end());
    return MessageBoxW(f_.hWnd(), t.c_str(), c.c_str(), style);
  }
  void RemoveTrayIcon() override { RemoveTrayIconOf(f_.hWnd()); }
  void EndProgram() override { ExitProcess(0); }
};

// The window's position and the panel's pointer for the drag.
class DragView : public DragTarget {
 public:
  explicit DragView(FrmFade& f) : f_(f) {}
  float Left() const override { return f_.Left(); }
  void SetLeft(float twips) override { f_.SetLeft(twips); }
  float Top() const override { return f_.Top(); }
  void SetTop(float twips) override { f_.SetTop(twips); }
  void SetMousePointer(std::int16_t pointer) override { f_.TitleBar.SetMousePointer(pointer); }

 private:
  FrmFade& f_;
};

}  // namespace

struct FrmFade::Flows {
  explicit Flows(FrmFade& f) : composeView(f), lifecycle(f), dragView(f), compose(composeView), drag(dragView) {}
  ComposeView composeView;
  LifecycleView lifecycle;
  DragView dragView;
  ComposeFlow compose;
  TitleBarDrag drag;
};

FrmFade::Flows& FrmFade::flows() {
  if (!flows_) flows_ = std::make_shared<Flows>(*this);
  return *flows_;
}

// Runs once, after the window and its controls exist and before the window is
// first shown: banners, shape, topmost, the start announcement.
void FrmFade::Form_Load() { RunFormLoad(banners, flows().lifecycle); }

// A mouse move over the window, and every tray notification (which arrives as
// WM_MOUSEMOVE with the mouse message where x would be): x in twips.
void FrmFade::Form_MouseMove(std::int16_t, std::int16_t, float x, float) {
  if (TrayEvent(x, ScaleMode(), TwipsPerPixelX()) != kTrayActionNone) RestoreFromTray(hWnd());
}

void FrmFade::tmrFade_Timer() { flows().compose.Tick(); }

void FrmFade::txtMessage_KeyPress(std::int16_t& keyAscii) { flows().compose.KeyPress(keyAscii); }

// What the fade renders changed: the message, a swatch's colour, or the
// markup store itself by other means than the tick.
void FrmFade::txtMessage_Change() { flows().compose.InputChanged(); }

void FrmFade::txtResult_Change() { flows().compose.ResultChanged(); }

void FrmFade::Color_Change() { flows().compose.InputChanged(); }

void FrmFade::cmdSend_Click() { flows().compose.SendClick(); }

void FrmFade::Color_Click(int index) { flows().compose.SwatchClick(index); }

void FrmFade::cmdExit_Click() { RunExitClick(banners, flows().lifecycle); }

// The focus goes to txtFocus, which is never on screen, before the window
// hides. If the shell refuses the icon the window stays, and so the focus
// goes back where it was.
void FrmFade::cmdMinimize_Click() {
  HWND had = GetFocus();
  txtFocus.SetFocus();
  if (MinimizeToTray(Icon(), Caption(), hWnd())) return;
  SetFocus(had && IsChild(hWnd(), had) ? had : cmdMinimize.hWnd());
}

void FrmFade::TitleBar_MouseDown(std::int16_t button, std::int16_t shift, float x, float y) {
  flows().drag.MouseDown(button, shift, x, y);
}

void FrmFade::TitleBar_MouseMove(std::int16_t button, std::int16_t shift, float x, float y) {
  flows().drag.MouseMove(button, shift, x, y);
}

void FrmFade::TitleBar_MouseUp(std::int16_t button, std::int16_t shift, float x, float y) {
  flows().drag.MouseUp(button, shift, x, y);
}

void FrmFade::TitleBar_CaptureLost() { flows().drag.CaptureLost(); }

}  // namespace fader
