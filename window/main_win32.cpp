// mírtáné: creates frmFade, runs its load handler, shows it, starts its
// timer, and runs the message loop until the window goes away.
#include <windows.h>

#include "window/frm_fade_win32.h"
#include "window/message_pump_win32.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  fader::FrmFade form;
  if (!form.Create(instance)) return 1;
  form.Form_Load();  // what fails of it is left out: the window opens all the same
  form.Show();
  form.tmrFade.Start();
  return fader::RunMessageLoop();
}
