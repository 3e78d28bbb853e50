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
// client posts the line. True when a room was found and both messages were
// delivered to an input box; when the set-text message is not delivered the
// Enter character is not sent.
bool ChatSend(WindowTree& tree, std::u16string_view text);

}  // namespace fader
