// The five-colour fade: four nearly equal segments, each running from one
// colour to the next, every character behind its own font tag; and the colour
// codes: a number as zero-padded upper-case hex, and the split of a code back
// into red, green and blue.
#include <cmath>
#include <limits>
#if defined(__SSE2__) || defined(_M_X64) || (defined(_M_IX86_FP) && _M_IX86_FP >= 2)
#include <emmintrin.h>
#define FADER_HAVE_SSE2 1
#endif

#include "render/fade.h"
#include "render/hex_digits.h"

namespace fader {
namespace {

constexpr std::u16string_view kFontOpen = u"<font color=\"#";
constexpr std::u16string_view kFontClose = u"\">";
constexpr std::u16string_view kWaveTags[4] = {u"<sup>", u"</sup>", u"<sub>", u"</sub>"};
constexpr std::size_t kPlainCharSize = kFontOpen.size() + 6 + kFontClose.size() + 1;  // 23
constexpr std::size_t kMaxTextLength = 32767;  // the length is a 16-bit count

std::int16_t Checked16(std::int64_t value, const char* what) {
  if (value < std::numeric_limits<std::int16_t>::min() ||
      value > std::numeric_limits<std::int16_t>::max()) {
    throw OverflowError(what);
  }
  return static_cast<std::int16_t>(value);
}

struct Rgb {
  std::int16_t c[3];
};

// One segment: its characters and the colours it runs between.
struct Segment {
  std::u16string_view chars;
  Rgb from;
  std::int16_t diff[3];
};

bool InByte(std::int16_t v) { return v >= 0 && v <= 255; }

// Rounds to nearest with ties to even, as the default rounding mode does.
inline std::int64_t RoundToEven(double value) {
#ifdef FADER_HAVE_SSE2
  // cvtsd2si rounds by the current mode and is far cheaper than a libm call;
  // components stay far inside its 32-bit range.
  if (value > -2147483648.0 && value < 2147483647.0) return _mm_cvtsd_si32(_mm_set_sd(value));
#endif
  return static_cast<std::int64_t>(std::nearbyint(value));
}

// The k-th step from start: quotient (difference / L) times k plus start, in
// double precision in exactly that order, rounded with ties to even.
inline std::int16_t StepComponent(double quotient, int k, std::int16_t start) {
  double value = quotient * k + start;
  std::int64_t rounded = RoundToEven(value);
  if (rounded < -32768 || rounded > 32767) throw OverflowError("fade: component out of 16-bit range");
  return static_cast<std::int16_t>(rounded);
}

std::int32_t Pack(const Rgb& rgb) {
  // Red in the high byte, so the code reads red, green, blue.
  std::int64_t packed = std::int64_t{rgb.c[0]} * 65536 + std::int64_t{rgb.c[1]} * 256 + rgb.c[2];
  if (packed < std::numeric_limits<std::int32_t>::min() ||
      packed > std::numeric_limits<std::int32_t>::max()) {
    throw OverflowError("fade: packed colour out of 32-bit range");
  }
  return static_cast<std::int32_t>(packed);
}

#ifdef FADER_HAVE_SSE2
// The timer tick's path, for components in 0..255, where every code has six
// digits and every character's markup has a fixed layout:
//   units  0..13  <font color="#      16..19  last four digits
//         14..15  first two digits    20..21  ">, then the wave tag and the character
// It is written with whole 16-byte stores at units 0, 8, 16 (and 24 for a wave
// tag) from templates, and the character itself with one 16-bit store on top.
// The last store runs a few units into the next character's markup, writing
// there the "<fon" that the next character's first store writes again; after
// the last character it needs the slack below.
constexpr std::size_t kFastSlack = 4;

inline __m128i Units(char16_t u0, char16_t u1, char16_t u2, char16_t u3, char16_t u4,
                     char16_t u5, char16_t u6, char16_t u7) {
  return _mm_setr_epi16(static_cast<short>(u0), static_cast<short>(u1), static_cast<short>(u2),
                        static_cast<short>(u3), static_cast<short>(u4), static_cast<short>(u5),
                        static_cast<short>(u6), static_cast<short>(u7));
}

inline void Store(char16_t* at, __m128i units) { _mm_storeu_si128(reinterpret_cast<__m128i*>(at), units); }

// The six digits of red, green and blue (32-bit lanes 0..2, each 0..255) as
// 16-bit lanes 0..5, upper-case; lanes 6 and 7 zero.
inline __m128i HexDigits(__m128i rgb) {
  const __m128i bytes = _mm_packs_epi32(rgb, rgb);
  const __m128i nibbles =
      _mm_unpacklo_epi16(_mm_srli_epi16(bytes, 4), _mm_and_si128(bytes, _mm_set1_epi16(0xF)));
  const __m128i letters = _mm_and_si128(_mm_cmpgt_epi16(nibbles, _mm_set1_epi16(9)),
                                        _mm_set1_epi16(u'A' - u'0' - 10));
  const __m128i digits = _mm_add_epi16(_mm_add_epi16(nibbles, _mm_set1_epi16(u'0')), letters);
  return _mm_and_si128(digits, _mm_setr_epi16(-1, -1, -1, -1, -1, -1, 0, 0));
}

// The colour of step k, red, green and blue in 32-bit lanes 0..2: the same
// quotient * k + start in double precision, two components per instruction;
// cvtpd2dq rounds by the current mode, to nearest with ties to even.
class ColourSteps {
 public:
  explicit ColourSteps(const Segment& seg) {
    const double length = static_cast<double>(seg.chars.size());
    quotient_rg_ = _mm_setr_pd(seg.diff[0] / length, seg.diff[1] / length);
    quotient_b_ = _mm_setr_pd(seg.diff[2] / length, 0.0);
    start_rg_ = _mm_setr_pd(seg.from.c[0], seg.from.c[1]);
    start_b_ = _mm_setr_pd(seg.from.c[2], 0.0);
  }
  __m128i At(int k) const {
    const __m128d kk = _mm_set1_pd(k);
    const __m128i rg = _mm_cvtpd_epi32(_mm_add_pd(_mm_mul_pd(quotient_rg_, kk), start_rg_));
    const __m128i b = _mm_cvtpd_epi32(_mm_add_pd(_mm_mul_pd(quotient_b_, kk), start_b_));
    return _mm_unpacklo_epi64(rg, b);
  }

 private:
  __m128d quotient_rg_, quotient_b_, start_rg_, start_b_;
};

inline bool SameColour(__m128i a, __m128i b) { return _mm_movemask_epi8(_mm_cmpeq_epi32(a, b)) == 0xFFFF; }

// What follows the six digits, by wave counter 1 to 4: units 16..23 (the
// digits left zero), units 24..31, where the character goes, and the length
// of the character's markup.
struct Tail {
  __m128i third;
  __m128i fourth;
  std::size_t char_at;
  std::size_t size;
};

const Tail& TailFor(int wave_counter) {
  static const Tail tails[4] = {
      {Units(0, 0, 0, 0, u'"', u'>', u'<', u's'), Units(u'u', u'p', u'>', 0, u'<', u'f', u'o', u'n'), 27, 28},
      {Units(0, 0, 0, 0, u'"', u'>', u'<', u'/'), Units(u's', u'u', u'p', u'>', 0, u'<', u'f', u'o'), 28, 29},
      {Units(0, 0, 0, 0, u'"', u'>', u'<', u's'), Units(u'u', u'b', u'>', 0, u'<', u'f', u'o', u'n'), 27, 28},
      {Units(0, 0, 0, 0, u'"', u'>', u'<', u'/'), Units(u's', u'u', u'b', u'>', 0, u'<', u'f', u'o'), 28, 29},
  };
  return tails[wave_counter - 1];
}

// A colour's six digits placed for the stores at units 8 (the first two) and
// 16 (the other four, the rest of that store left zero).
struct Code {
  __m128i second;
  __m128i third_digits;
};

inline Code CodeOf(__m128i colour) {
  const __m128i digits = HexDigits(colour);
  return {_mm_or_si128(Units(u'l', u'o', u'r', u'=', u'"', u'#', 0, 0), _mm_slli_si128(digits, 12)),
          _mm_srli_si128(digits, 4)};
}

// One character's markup; returns where the next begins.
template <bool kWave>
inline char16_t* WriteChar(char16_t* at, char16_t ch, const Code& code, int& wave_counter) {
  Store(at, Units(u'<', u'f', u'o', u'n', u't', u' ', u'c', u'o'));
  Store(at + 8, code.second);
  if (!kWave) {
    Store(at + 16, _mm_or_si128(code.third_digits, Units(0, 0, 0, 0, u'"', u'>', 0, u'<')));
    at[22] = ch;
    return at + kPlainCharSize;
  }
  wave_counter = wave_counter >= 4 ? 1 : wave_counter + 1;
  const Tail& tail = TailFor(wave_counter);
  // Read before the stores, which the compiler must assume may alias the table.
  const std::size_t char_at = tail.char_at, size = tail.size;
  const __m128i third = tail.third, fourth = tail.fourth;
  Store(at + 16, _mm_or_si128(code.third_digits, third));
  Store(at + 24, fourth);
  at[char_at] = ch;
  return at + size;
}

template <bool kWave>
char16_t* WriteSegmentFast(char16_t* at, const Segment& seg, int& wave_counter) {
  const int length = static_cast<int>(seg.chars.size());
  if (length == 0) return at;  // no step, and no quotient to form
  const char16_t* chars = seg.chars.data();
  const ColourSteps steps(seg);
  __m128i colour = steps.At(1);
  Code code = CodeOf(colour);
  auto take_colour = [&](__m128i now) {
    if (!SameColour(now, colour)) {
      colour = now;
      code = CodeOf(now);
    }
  };
  // Eight characters at a time. Each component moves one way only as k grows
  // (a product with a fixed quotient, a sum and the rounding are all
  // monotonic), so when the first and the last of the eight have the same
  // colour, so have all between, and their steps need not be computed: in a
  // long line most blocks are of one colour.
  constexpr int kBlock = 8;
  int k = 1;
  for (; k + kBlock - 1 <= length; k += kBlock) {
    const __m128i block_colour = steps.At(k);
    if (SameColour(block_colour, steps.At(k + kBlock - 1))) {
      take_colour(block_colour);
      for (int i = 0; i < kBlock; ++i) at = WriteChar<kWave>(at, chars[k - 1 + i], code, wave_counter);
    } else {
      for (int i = 0; i < kBlock; ++i) {
        take_colour(steps.At(k + i));
        at = WriteChar<kWave>(at, chars[k - 1 + i], code, wave_counter);
      }
    }
  }
  for (; k <= length; ++k) {
    take_colour(steps.At(k));
    at = WriteChar<kWave>(at, chars[k - 1], code, wave_counter);
  }
  return at;
}
#endif  // FADER_HAVE_SSE2

// The general path, one piece at a time: for components outside 0..255,
// whose codes may be longer than six digits, and for builds without SSE2.
template <bool kWave>
void AppendSegment(std::u16string& out, const Segment& seg, int& wave_counter) {
  const int length = static_cast<int>(seg.chars.size());
  if (length == 0) return;
  double quotient[3];
  for (int i = 0; i < 3; ++i) quotient[i] = static_cast<double>(seg.diff[i]) / length;
  for (int k = 1; k <= length; ++k) {
    Rgb rgb;
    for (int i = 0; i < 3; ++i) rgb.c[i] = StepComponent(quotient[i], k, seg.from.c[i]);
    out.append(kFontOpen);
    out.append(RgbToHex(Pack(rgb)));
    out.append(kFontClose);
    if (kWave) {
      wave_counter = wave_counter >= 4 ? 1 : wave_counter + 1;
      out.append(kWaveTags[wave_counter - 1]);
    }
    out.push_back(seg.chars[k - 1]);
  }
}

// Length of the markup when every code has six digits. Wave tags cycle
// <sup> </sup> <sub> </sub>: five, six, five, six extra characters.
std::size_t PlainMarkupSize(std::size_t n, bool wave) {
  std::size_t size = n * kPlainCharSize;
  if (wave) size += (n / 2) * 11 + (n % 2) * 5;
  return size;
}

}  // namespace

std::u16string FadeFiveRgb(std::int16_t r1, std::int16_t g1, std::int16_t b1,
                           std::int16_t r2, std::int16_t g2, std::int16_t b2,
                           std::int16_t r3, std::int16_t g3, std::int16_t b3,
                           std::int16_t r4, std::int16_t g4, std::int16_t b4,
                           std::int16_t r5, std::int16_t g5, std::int16_t b5,
                           std::u16string_view text, bool wave, const EventPump& pump) {
  if (text.size() > kMaxTextLength) throw OverflowError("fade: text longer than 32,767 characters");
  const std::size_t n = text.size();

  // The counting passes hand out one character at a time to segments 1, 2, 3,
  // 4 in turn, so the one to three left over go to the earliest segments.
  const std::size_t lengths[4] = {(n + 3) / 4, (n + 2) / 4, (n + 1) / 4, n / 4};
  const Rgb colours[5] = {{{r1, g1, b1}}, {{r2, g2, b2}}, {{r3, g3, b3}}, {{r4, g4, b4}}, {{r5, g5, b5}}};

  Segment segments[4] = {};
  [[maybe_unused]] bool all_in_byte_range = true;
  std::size_t at = 0;
  for (int j = 0; j < 4; ++j) {
    Segment& seg = segments[j];
    seg.chars = text.substr(at, lengths[j]);
    at += lengths[j];
    seg.from = colours[j];
    // An empty segment takes no step, so its difference is never formed.
    if (seg.chars.empty()) continue;
    for (int i = 0; i < 3; ++i) {
      seg.diff[i] = Checked16(std::int64_t{colours[j + 1].c[i]} - colours[j].c[i],
                              "fade: component difference out of 16-bit range");
      // Steps between two components in 0..255 stay there, so every code has six digits.
      all_in_byte_range = all_in_byte_range && InByte(colours[j].c[i]) && InByte(colours[j + 1].c[i]);
    }
  }

  // One pump call per counting pass: a passes, and at least one for the empty text.
  if (pump) {
    const std::size_t passes = n == 0 ? 1 : lengths[0];
    for (std::size_t p = 0; p < passes; ++p) pump();
  }

  std::u16string markup;
#ifdef FADER_HAVE_SSE2
  if (all_in_byte_range) {
    const std::size_t size = PlainMarkupSize(n, wave);
    // resize() zero-fills what is overwritten at once; in C++20 every other
    // way of filling a string in place costs at least as much.
    markup.resize(size + kFastSlack);
    char16_t* out = markup.data();
    int wave_counter = 0;  // runs on across the segment borders
    for (const Segment& seg : segments) {
      out = wave ? WriteSegmentFast<true>(out, seg, wave_counter) : WriteSegmentFast<false>(out, seg, wave_counter);
    }
    markup.resize(size);
    return markup;
  }
#endif
  markup.reserve(PlainMarkupSize(n, wave));
  int wave_counter = 0;  // runs on across the segment borders
  for (const Segment& seg : segments) {
    if (wave) {
      AppendSegment<true>(markup, seg, wave_counter);
    } else {
      AppendSegment<false>(markup, seg, wave_counter);
    }
  }
  return markup;
}

std::u16string FadeFiveColors(std::int32_t c1, std::int32_t c2, std::int32_t c3,
                              std::int32_t c4, std::int32_t c5,
                              std::u16string_view text, bool wave, const EventPump& pump) {
  Components k[5];
  const std::int32_t colours[5] = {c1, c2, c3, c4, c5};
  for (int i = 0; i < 5; ++i) {
    const std::int32_t c = colours[i];
    if (c >= 0 && c <= 0xFFFFFF) {
      // A six-digit code reads BBGGRR, so its split is the value's own bytes;
      // this spares short lines five strings per fade.
      k[i] = Components{static_cast<std::int16_t>(c & 0xFF), static_cast<std::int16_t>(c >> 8 & 0xFF),
                        static_cast<std::int16_t>(c >> 16 & 0xFF)};
    } else {
      k[i] = SplitColorCode(RgbToHex(c));
    }
  }
  return FadeFiveRgb(k[0].red, k[0].green, k[0].blue, k[1].red, k[1].green, k[1].blue,
                     k[2].red, k[2].green, k[2].blue, k[3].red, k[3].green, k[3].blue,
                     k[4].red, k[4].green, k[4].blue, text, wave, pump);
}

// -- colour codes ---------------------------------------------------------------

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
