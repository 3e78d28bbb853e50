// The program's UTF-16 text as the ...W functions take it.
#pragma once

#include <string>
#include <string_view>

namespace fader {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Win32 text is UTF-16");

// The same code units as a wide string, for a call that wants a wchar_t
// pointer: ToWide(text).c_str() lives to the end of that call's statement.
inline std::wstring ToWide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }

}  // namespace fader
