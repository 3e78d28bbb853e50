// A room's input box: how it takes a set text and the Enter character.
//
// Wine's rich edit takes seconds to lay out or delete a long line, long
// enough for a sender to take the room for hung. So a text longer than
// kShownBytes goes into the control cut to its start, and the box holds it
// whole for the post, as long as that start is unchanged.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

#include "tools/chatroom/room_box_win32.h"

namespace fader::room {

// How much of a set text the input box shows, in bytes.
inline constexpr std::size_t kShownBytes = 2048;

// A WM_SETTEXT of text (its ANSI bytes), after the --hang-input sleep. Returns
// what the control returned.
LRESULT SetInputText(Box& box, WNDPROC next, WPARAM wparam, LPARAM lparam, const std::string& text);

// The Enter character: after the --slow-enter sleep the room posts the line.
void TakeEnter(Box& box);

// The line to post: the held line while the control still shows its start,
// else the control's text. The box holds nothing after it.
std::u16string TakeLine(Box& box);

}  // namespace fader::room
