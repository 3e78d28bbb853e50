// How the room's boxes show text: in the room's own style, and a posted line
// streamed into a room's display as one piece of rich text (room_rtf.h).
#pragma once

#include <string_view>

#include "tools/chatroom/room_box_win32.h"

namespace fader::room {

// The whole box in the room's own style: its face, 10 points, black.
void SetRoomStyle(const Box& box);

// Appends "You:" and the line, as the room reads its markup, to a display.
void ShowPostedLine(const Box& display, std::u16string_view line);

}  // namespace fader::room
