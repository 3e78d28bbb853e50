// The five-colour fade: four nearly equal segments, each running from one
// colour to the next, every character behind its own font tag.
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
// Unchecked only where both ends of the step lie in 0..255.
template <bool kChecked>
inline std::int16_t StepComponent(double quotient, int k, std::int16_t start) {
  double value = quotient * k + start;
  std::int64_t rounded = RoundToEven(value);
  if (kChecked && (rounded < -32768 || rounded > 32767)) throw OverflowError("fade: component out of 16-bit range");
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

// Writes straight into a buffer sized beforehand; used when every code has
// exactly six digits, which is always so for components in 0..255. This is
// the timer tick's path, so it does no more than each character needs.
class BufferWriter {
 public:
  static constexpr bool kChecked = false;
  explicit BufferWriter(char16_t* at) : at_(at) {}
  void Put(std::u16string_view s) {
    for (char16_t ch : s) *at_++ = ch;
  }
  void Put(char16_t ch) { *at_++ = ch; }
  void PutCode(const Rgb& rgb) {
    // Consecutive characters often share a colour: reuse the digits last written.
    if (rgb.c[0] != last_.c[0] || rgb.c[1] != last_.c[1] || rgb.c[2] != last_.c[2]) {
      last_ = rgb;
      for (int i = 0; i < 3; ++i) {
        digits_[2 * i] = kHexDigits[(rgb.c[i] >> 4) & 0xF];
        digits_[2 * i + 1] = kHexDigits[rgb.c[i] & 0xF];
      }
    }
    for (char16_t d : digits_) *at_++ = d;
  }

 private:
  char16_t* at_;
  Rgb last_{{-1, -1, -1}};
  char16_t digits_[6] = {};
};

// Appends to a string; for components outside 0..255, whose codes may be
// longer than six digits.
class AppendWriter {
 public:
  static constexpr bool kChecked = true;
  explicit AppendWriter(std::u16string& out) : out_(out) {}
  void Put(std::u16string_view s) { out_.append(s); }
  void Put(char16_t ch) { out_.push_back(ch); }
  void PutCode(const Rgb& rgb) { out_.append(RgbToHex(Pack(rgb))); }

 private:
  std::u16string& out_;
};

template <bool kWave, class Writer>
void WriteSegment(Writer& out, const Segment& seg, int& waveCounter) {
  const int length = static_cast<int>(seg.chars.size());
  if (length == 0) return;
  double quotient[3];
  for (int i = 0; i < 3; ++i) quotient[i] = static_cast<double>(seg.diff[i]) / length;
  for (int k = 1; k <= length; ++k) {
    Rgb rgb;
    for (int i = 0; i < 3; ++i) rgb.c[i] = StepComponent<Writer::kChecked>(quotient[i], k, seg.from.c[i]);
    out.Put(kFontOpen);
    out.PutCode(rgb);
    out.Put(kFontClose);
    if (kWave) {
      waveCounter = waveCounter >= 4 ? 1 : waveCounter + 1;
      out.Put(kWaveTags[waveCounter - 1]);
    }
    out.Put(seg.chars[k - 1]);
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
  bool allInByteRange = true;
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
      allInByteRange = allInByteRange && InByte(colours[j].c[i]) && InByte(colours[j + 1].c[i]);
    }
  }

  // One pump call per counting pass: a passes, and at least one for the empty text.
  if (pump) {
    const std::size_t passes = n == 0 ? 1 : lengths[0];
    for (std::size_t p = 0; p < passes; ++p) pump();
  }

  std::u16string markup;
  auto writeAll = [&](auto& out) {
    int waveCounter = 0;  // runs on across the segment borders
    for (const Segment& seg : segments) {
      if (wave) {
        WriteSegment<true>(out, seg, waveCounter);
      } else {
        WriteSegment<false>(out, seg, waveCounter);
      }
    }
  };
  if (allInByteRange) {
    markup.resize(PlainMarkupSize(n, wave));
    BufferWriter out(markup.data());
    writeAll(out);
  } else {
    markup.reserve(PlainMarkupSize(n, wave));
    AppendWriter out(markup);
    writeAll(out);
  }
  return markup;
}

std::u16string FadeFiveColors(std::int32_t c1, std::int32_t c2, std::int32_t c3,
                              std::int32_t c4, std::int32_t c5,
                              std::u16string_view text, bool wave, const EventPump& pump) {
  Components k[5];
  const std::int32_t colours[5] = {c1, c2, c3, c4, c5};
  for (int i = 0; i < 5; ++i) k[i] = SplitColorCode(RgbToHex(colours[i]));
  return FadeFiveRgb(k[0].red, k[0].green, k[0].blue, k[1].red, k[1].green, k[1].blue,
                     k[2].red, k[2].green, k[2].blue, k[3].red, k[3].green, k[3].blue,
                     k[4].red, k[4].green, k[4].blue, text, wave, pump);
}

}  // namespace fader
