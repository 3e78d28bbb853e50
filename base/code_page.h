// Which flags a conversion from UTF-16 into a code page may carry.
#pragma once

#include <cstdint>

namespace fader {

inline constexpr std::uint32_t kNoBestFitChars = 0x400;  // WC_NO_BEST_FIT_CHARS

// The flags for WideCharToMultiByte into `codePage`: no best fit, so that a
// character the code page lacks is "?", never a look-alike that reads
// otherwise ("\u2264" as "=") or forms markup ("\uff1c" as "<"). The system
// refuses any flag (ERROR_INVALID_FLAGS) for UTF-7, UTF-8, GB 18030, the
// ISO-2022 and ISCII code pages and Symbol: those get none. UTF-8 and
// GB 18030 have bytes for every character, so nothing falls back there.
constexpr std::uint32_t CodePageConversionFlags(std::uint32_t codePage) {
  const bool takesNoFlags = codePage == 42 || (codePage >= 50220 && codePage <= 50229) ||
                            (codePage >= 57002 && codePage <= 57011) || codePage == 54936 ||
                            codePage == 65000 || codePage == 65001;
  return takesNoFlags ? 0 : kNoBestFitChars;
}

}  // namespace fader
