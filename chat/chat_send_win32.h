// Posting a line into the chat client running on this desktop.
#pragma once

#include <string_view>

namespace fader {

// ChatSend on the real windows of this desktop: true when the line went out.
// Never throws: a failure of any kind is false, the line not sent.
bool ChatSend(std::u16string_view text) noexcept;

}  // namespace fader
