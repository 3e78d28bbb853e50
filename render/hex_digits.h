#pragma once

namespace fader {
inline constexpr char16_t kHexDigits[] = u"0123456789ABCDEF";
}
