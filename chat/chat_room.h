// Finding the chat client's room window and posting a line into it.
#pragma once

#include <string_view>

#include "chat/window_tree.h"

namespace fader {

// The client's first document window (in child order) that is a chat room,
// or 0. A document is a room when it has direct children of each of the
// classes "RICHCNTL", "_AOL_Listbox", "_AOL_Icon" and "_AOL_Static".
WindowTree::Handle FindChatRoom(WindowTree& tree);

// Puts text into the input box of the first chat room (its second rich-text
// control, or its only one) and sends it the Enter character, so that the
// client posts the line. True when a room was found, its input box answered
// the set-text message and took the Enter character (answered or not yet:
// a client slow to answer it still posts the line). When the set-text is not
// answered the Enter character is not sent, and the result is false.
bool ChatSend(WindowTree& tree, std::u16string_view text);

}  // namespace fader
