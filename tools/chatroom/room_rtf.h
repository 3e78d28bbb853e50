// A posted line as one piece of rich text: the room shows a line by streaming
// it into its display once, rather than styling it run by run (which re-lays
// the growing line out after every run and takes minutes for a long one).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "tools/chatroom/room_markup.h"

namespace fader::room {

// The runs as an RTF document of 7-bit characters: one group per run with
// its face, 10-point size, colour, bold, italic, underline and super- or
// subscript. A run without a colour is black and one without a face is in
// `default_face`; faces are cut to 31 characters. Backslashes and braces are
// escaped, a ';' in a face is \'3b (a font name ends at ';'), a tab is \tab,
// and every character beyond 7 bits is written as \uN? with N its UTF-16
// unit as a signed 16-bit number.
std::string RunsToRtf(const std::vector<Run>& runs, std::u16string_view default_face);

}  // namespace fader::room
