// Which flags a conversion from UTF-16 into a code page may carry.
#pragma once

#include <cstdint>

namespace fader {

inline constexpr std::uint32_t kNoBestFitChars = 0x400;  // WC_NO_BEST_FIT_CHARS

// The flags for WideCharToMultiByte into `code_page`: no best fit, so that a
// character the code page lacks is "?", never a look-alike that reads
// otherwise ("\u2264" as "=") or forms markup ("\uff1c" as "<"). The system
// refuses any flag (ERROR_INVALID_FLAGS) for UTF-7, UTF-8, GB 18030, the
// ISO-2022 and ISCII code pages and Symbol: those get none. UTF-8 and
// GB 18030 have bytes for every character, so nothing falls back there.
constexpr std::uint32_t CodePageConversionFlags(std::uint32_t code_page) {
  const bool takes_no_flags = code_page == 42 || (code_page >= 50220 && code_page <= 50229) ||
                            (code_page >= 57002 && code_page <= 57011) || code_page == 54936 ||
                            code_page == 65000 || code_page == 65001;
  return takes_no_flags ? 0 : kNoBestFitChars;
}

}  // namespace fader
