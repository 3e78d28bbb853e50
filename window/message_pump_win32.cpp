#include "window/message_pump_win32.h"

#include <windows.h>

#include "window/frm_fade_win32.h"

namespace fader {
namespace {

void Deliver(const MSG& msg) {
  // Only Tab is the window's own; every other message, the timer's among
  // them, goes straight on.
  if (msg.message == WM_KEYDOWN && msg.wParam == VK_TAB) {
    if (FrmFade* form = FrmFade::FromWindow(msg.hwnd); form && form->PreTranslate(msg)) return;
  }
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
}

}  // namespace

void PumpWindowMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    Deliver(msg);
  }
}

int RunMessageLoop() {
  MSG msg;
  for (;;) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) return static_cast<int>(msg.wParam);
    if (got == -1) return 1;
    Deliver(msg);
  }
}

}  // namespace fader
