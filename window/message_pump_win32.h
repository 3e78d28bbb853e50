// The message loops of the program's one GUI thread. Both let frmFade handle
// Tab and Shift+Tab itself before a key message is dispatched.
#pragma once

namespace fader {

// Handles every message waiting in the thread's queue, then returns. A quit
// request found there is put back for the main loop. The fade calls this.
void PumpWindowMessages();

// The main loop: runs until WM_QUIT and returns its exit code.
int RunMessageLoop();

}  // namespace fader
