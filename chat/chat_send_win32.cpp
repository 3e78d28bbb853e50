#include "chat/chat_send_win32.h"

#include "chat/chat_room.h"
#include "chat/window_tree_win32.h"

namespace fader {

bool ChatSend(std::u16string_view text) noexcept {
  try {
    Win32WindowTree tree;
    return ChatSend(tree, text);
  } catch (...) {
    // Only allocation can fail here; the line did not go out.
    return false;
  }
}

}  // namespace fader
