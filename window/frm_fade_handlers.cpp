// The event handlers of frmFade, one per control event. The window routes
// each event here (frm_fade.cpp); what a handler does is its own business,
// and no handler needs to catch: the window procedures catch at their edge.
#include "window/frm_fade.h"

namespace fader {

// Runs once, after the window and its controls exist and before the window is
// first shown.
void FrmFade::Form_Load() {}

// A mouse move over the window's own client area, and every tray
// notification (which arrives as WM_MOUSEMOVE): x and y in twips.
void FrmFade::Form_MouseMove(std::int16_t /*button*/, std::int16_t /*shift*/, float /*x*/, float /*y*/) {}

// Each tick of tmrFade.
void FrmFade::tmrFade_Timer() {}

// A character typed in txtMessage, before the edit control gets it.
void FrmFade::txtMessage_KeyPress(std::int16_t& /*keyAscii*/) {}

void FrmFade::cmdSend_Click() {}

// A click on swatch Color<index>, index 1 to 5.
void FrmFade::Color_Click(int /*index*/) {}

void FrmFade::cmdExit_Click() {}

void FrmFade::cmdMinimize_Click() {}

// The three mouse events of the title-bar panel: x and y in twips relative
// to the panel.
void FrmFade::TitleBar_MouseDown(std::int16_t /*button*/, std::int16_t /*shift*/, float /*x*/, float /*y*/) {}

void FrmFade::TitleBar_MouseMove(std::int16_t /*button*/, std::int16_t /*shift*/, float /*x*/, float /*y*/) {}

void FrmFade::TitleBar_MouseUp(std::int16_t /*button*/, std::int16_t /*shift*/, float /*x*/, float /*y*/) {}

}  // namespace fader
