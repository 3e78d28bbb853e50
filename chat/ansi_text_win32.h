// Wide text converted to the ANSI code page, exactly where it goes to an
// ...A API (the chat room's input box, the tray tip).
#pragma once

#include <string>
#include <string_view>

namespace fader {

// Text as the ANSI code page has it (WideCharToMultiByte with CP_ACP;
// each character the code page lacks comes out as its default character "?"), no
// terminating NUL. Throws std::length_error for text the system cannot take in
// one call and std::runtime_error when the conversion fails.
std::string ToAnsiCodePage(std::u16string_view text);

}  // namespace fader
