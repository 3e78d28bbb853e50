// Colour codes: a number as zero-padded upper-case hex, and the split of a
// code back into red, green and blue.
#include <limits>

#include "render/fade.h"
#include "render/hex_digits.h"

namespace fader {

std::u16string RgbToHex(std::int32_t value) {
  // Negative numbers are written as their 32-bit two's complement.
  auto bits = static_cast<std::uint32_t>(value);
  char16_t digits[8];
  int count = 0;
  do {
    digits[count++] = kHexDigits[bits & 0xF];
    bits >>= 4;
  } while (bits != 0);
  // Up to six digits are padded in front; seven and eight stay as they are.
  std::u16string code(count < 6 ? 6 - count : 0, u'0');
  for (int i = count - 1; i >= 0; --i) code.push_back(digits[i]);
  return code;
}

std::u16string RgbToHex(std::u16string_view decimal) {
  std::size_t pos = 0;
  bool negative = false;
  if (!decimal.empty() && (decimal[0] == u'-' || decimal[0] == u'+')) {
    negative = decimal[0] == u'-';
    pos = 1;
  }
  if (pos == decimal.size()) throw std::invalid_argument("colour: no decimal number");
  // Accumulate the magnitude in 64 bits; more than 11 digits cannot fit anyway.
  std::int64_t magnitude = 0;
  for (; pos < decimal.size(); ++pos) {
    char16_t ch = decimal[pos];
    if (ch < u'0' || ch > u'9') throw std::invalid_argument("colour: not a decimal number");
    magnitude = magnitude * 10 + (ch - u'0');
    if (magnitude > std::int64_t{1} << 32) throw OverflowError("colour: number out of 32-bit range");
  }
  std::int64_t value = negative ? -magnitude : magnitude;
  if (value < std::numeric_limits<std::int32_t>::min() ||
      value > std::numeric_limits<std::int32_t>::max()) {
    throw OverflowError("colour: number out of 32-bit range");
  }
  return RgbToHex(static_cast<std::int32_t>(value));
}

namespace {
int HexValue(char16_t ch) {
  if (ch >= u'0' && ch <= u'9') return ch - u'0';
  if (ch >= u'A' && ch <= u'F') return ch - u'A' + 10;
  if (ch >= u'a' && ch <= u'f') return ch - u'a' + 10;
  throw std::invalid_argument("colour: not a hexadecimal digit");
}

std::int16_t Pair(std::u16string_view code, std::size_t at) {
  return static_cast<std::int16_t>(HexValue(code[at]) * 16 + HexValue(code[at + 1]));
}
}  // namespace

Components SplitColorCode(std::u16string_view code) {
  if (code.size() < 6) throw std::invalid_argument("colour: code shorter than six digits");
  // Fixed positions: a seven- or eight-digit code's fifth (and sixth) digit take no part.
  return Components{Pair(code, code.size() - 2), Pair(code, 2), Pair(code, 0)};
}

}  // namespace fader
