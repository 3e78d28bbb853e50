// The views of frmFade the flows work on (frm_fade_views_win32.h): each
// operation on the window's controls or on the system.
#include "window/frm_fade_views_win32.h"

#include "base/wide_text_win32.h"
#include "chat/chat_send_win32.h"
#include "desktop/region_win32.h"
#include "desktop/tray_win32.h"
#include "window/frm_fade_win32.h"
#include "window/message_pump_win32.h"

namespace fader {

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

}  // namespace fader
