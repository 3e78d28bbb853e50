// Resource ids shared by the resource script and the window code.
#pragma once

#define FADER_IDI_PROGRAM 1      // icon group 1 (its one image is icon 30001)
#define FADER_IDI_PROGRAM_IMAGE 30001
#define FADER_IDR_SKIN 101       // the skin picture, a GIF, as RCDATA
