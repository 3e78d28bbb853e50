// The fade renderer: colour codes and the five-colour fade into chat markup.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "base/overflow_error.h"

namespace fader {

// Called while the fade counts its segments, once per pass of four characters,
// so that the window can handle pending messages during a long line. An empty
// pump does nothing.
using EventPump = std::function<void()>;

// The colour code of a number: upper-case hex, zero-padded in front to six
// digits; seven or eight digits are kept, negatives read as 32-bit two's
// complement (minus one gives FFFFFFFF).
std::u16string RgbToHex(std::int32_t value);

// The same for the decimal text of a number ("8421376" gives 808000). Throws
// std::invalid_argument for text that is not a decimal whole number and
// OverflowError for one outside the 32-bit range.
std::u16string RgbToHex(std::u16string_view decimal);

// Red, green and blue read back out of a colour code: red from its last two
// digits, green from the third and fourth, blue from the first two.
struct Components {
  std::int16_t red;
  std::int16_t green;
  std::int16_t blue;
};
Components SplitColorCode(std::u16string_view code);

// Per-character colour markup of text, the colour running from c1 over c2, c3
// and c4 to c5 across four nearly equal segments. Colours are 0x00BBGGRR.
std::u16string FadeFiveColors(std::int32_t c1, std::int32_t c2, std::int32_t c3,
                              std::int32_t c4, std::int32_t c5,
                              std::u16string_view text, bool wave,
                              const EventPump& pump = {});

// The fade on the fifteen components: red, green, blue of colour 1, then of
// colours 2 to 5. Throws OverflowError for a text of more than 32,767
// characters or a component difference outside 16 bits, before the pump runs.
std::u16string FadeFiveRgb(std::int16_t r1, std::int16_t g1, std::int16_t b1,
                           std::int16_t r2, std::int16_t g2, std::int16_t b2,
                           std::int16_t r3, std::int16_t g3, std::int16_t b3,
                           std::int16_t r4, std::int16_t g4, std::int16_t b4,
                           std::int16_t r5, std::int16_t g5, std::int16_t b5,
                           std::u16string_view text, bool wave,
                           const EventPump& pump = {});

}  // namespace fader
