// mírtáné: creates frmFade, runs its load handler, shows it, starts its
// timer, and runs the message loop until the window goes away.
#include <windows.h>

#include "window/frm_fade.h"
#include "window/message_pump_win32.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  fader::FrmFade form;
  if (!form.Create(instance)) return 1;
  try {
    form.Form_Load();
  } catch (...) {
    // The load handler catches nothing itself; the window still opens.
  }
  form.Show();
  form.tmrFade.Start();
  return fader::RunMessageLoop();
}
