// Wide text converted to the ANSI code page, exactly where it goes to an
// ...A API (the chat room's input box, the tray tip).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace fader {

// Text in `code_page` (WideCharToMultiByte with CodePageConversionFlags; each
// character the code page lacks comes out as its default character "?"), no
// terminating NUL. Throws std::length_error for text the system cannot take
// in one call and std::runtime_error when the conversion fails.
std::string ToCodePage(std::uint32_t code_page, std::u16string_view text);

// ToCodePage with the system's ANSI code page (GetACP).
std::string ToAnsiCodePage(std::u16string_view text);

}  // namespace fader
