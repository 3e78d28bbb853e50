// The fade renderer: colour codes, segments, rounding, wave tags, failures.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "render/fade.h"

namespace {

using fader::FadeFiveColors;
using fader::FadeFiveRgb;
using fader::RgbToHex;

std::string Narrow(const std::u16string& s) {
  std::string out;
  for (char16_t ch : s) out.push_back(ch < 0x80 ? static_cast<char>(ch) : '?');
  return out;
}

// One character of markup as a chat room would read it back.
struct Glyph {
  std::string code;
  std::string wave;  // "", "<sup>", "</sup>", "<sub>", "</sub>"
  char16_t ch;
};

std::vector<Glyph> Parse(const std::u16string& markup) {
  const std::u16string open = u"<font color=\"#";
  std::vector<Glyph> glyphs;
  std::size_t at = 0;
  while (at < markup.size()) {
    EXPECT_EQ(markup.compare(at, open.size(), open), 0) << "no font tag at " << at;
    at += open.size();
    std::size_t quote = markup.find(u'"', at);
    Glyph g;
    g.code = Narrow(markup.substr(at, quote - at));
    at = quote;
    EXPECT_EQ(markup.compare(at, 2, u"\">"), 0);
    at += 2;
    for (const char* tag : {"</sup>", "</sub>", "<sup>", "<sub>"}) {
      std::u16string t(tag, tag + std::char_traits<char>::length(tag));
      if (markup.compare(at, t.size(), t) == 0) {
        g.wave = tag;
        at += t.size();
        break;
      }
    }
    g.ch = markup[at++];
    glyphs.push_back(g);
  }
  return glyphs;
}

std::vector<std::string> Codes(const std::u16string& markup) {
  std::vector<std::string> codes;
  for (const Glyph& g : Parse(markup)) codes.push_back(g.code);
  return codes;
}

// Red, green, blue, yellow, white as Colour values (0x00BBGGRR).
constexpr std::int32_t kRed = 0xFF, kGreen = 0xFF00, kBlue = 0xFF0000, kYellow = 0xFFFF, kWhite = 0xFFFFFF;

TEST(ColorCode, PadsToSixDigitsAndKeepsLongerCodes) {
  EXPECT_EQ(RgbToHex(0), u"000000");
  EXPECT_EQ(RgbToHex(1), u"000001");
  EXPECT_EQ(RgbToHex(0xFF), u"0000FF");
  EXPECT_EQ(RgbToHex(0xABCDE), u"0ABCDE");
  EXPECT_EQ(RgbToHex(0xFFFFFF), u"FFFFFF");
  EXPECT_EQ(RgbToHex(0x1000000), u"1000000");
  EXPECT_EQ(RgbToHex(static_cast<std::int32_t>(0x8000000F)), u"8000000F");
  EXPECT_EQ(RgbToHex(-1), u"FFFFFFFF");
}

TEST(ColorCode, DecimalTextGivesTheSameCodeAsTheNumber) {
  EXPECT_EQ(RgbToHex(u"8421376"), u"808000");
  EXPECT_EQ(RgbToHex(u"0"), u"000000");
  EXPECT_EQ(RgbToHex(u"-1"), u"FFFFFFFF");
  EXPECT_EQ(RgbToHex(u"2147483647"), u"7FFFFFFF");
  EXPECT_EQ(RgbToHex(u"-2147483648"), u"80000000");
}

TEST(ColorCode, DecimalTextThatIsNoWholeNumberIsRejected) {
  // 4294967296 is 2^32, where the magnitude's running check has not yet given up.
  for (std::u16string_view bad : {u"", u"-", u"12a", u"0x10", u" 5", u"1.5", u"4294967296x"}) {
    EXPECT_THROW(RgbToHex(bad), std::invalid_argument) << Narrow(std::u16string(bad));
  }
  EXPECT_THROW(RgbToHex(u"2147483648"), fader::OverflowError);
  EXPECT_THROW(RgbToHex(u"-2147483649"), fader::OverflowError);
  EXPECT_THROW(RgbToHex(u"99999999999999999999999"), fader::OverflowError);
}

TEST(ColorCode, SplitReadsFixedPositions) {
  struct Case { std::u16string code; int r, g, b; };
  for (const Case& c : {Case{u"0ABCDE", 222, 188, 10}, Case{u"1000000", 0, 0, 16},
                        Case{u"8000000F", 15, 0, 128}, Case{u"FFFFFFFF", 255, 255, 255},
                        Case{u"0000FF", 255, 0, 0}}) {
    auto k = fader::SplitColorCode(c.code);
    EXPECT_EQ(k.red, c.r) << Narrow(c.code);
    EXPECT_EQ(k.green, c.g) << Narrow(c.code);
    EXPECT_EQ(k.blue, c.b) << Narrow(c.code);
  }
}

TEST(ColorCode, SplitReadsLowerCaseDigitsAndRejectsWhatIsNoCode) {
  const auto k = fader::SplitColorCode(u"9abcdef0");
  EXPECT_EQ(k.red, 0xF0);
  EXPECT_EQ(k.green, 0xBC);
  EXPECT_EQ(k.blue, 0x9A);
  // Too short, and in each digit read a character just beside a digit range.
  for (std::u16string_view bad : {u"", u"FFFFF", u"G00000", u"0g0000", u"00:000", u"000/00", u"0000@0", u"00000`"}) {
    EXPECT_THROW(fader::SplitColorCode(bad), std::invalid_argument) << Narrow(std::u16string(bad));
  }
}

TEST(Fade, WorkedExampleWithoutWave) {
  auto markup = FadeFiveColors(kRed, kGreen, kBlue, kYellow, kWhite, u"abcdef", false);
  EXPECT_EQ(markup,
            u"<font color=\"#808000\">a<font color=\"#00FF00\">b<font color=\"#008080\">c"
            u"<font color=\"#0000FF\">d<font color=\"#FFFF00\">e<font color=\"#FFFFFF\">f");
  EXPECT_EQ(markup.size(), 138u);
}

TEST(Fade, WorkedExampleWithWave) {
  auto markup = FadeFiveColors(kRed, kGreen, kBlue, kYellow, kWhite, u"abcdef", true);
  EXPECT_EQ(markup,
            u"<font color=\"#808000\"><sup>a<font color=\"#00FF00\"></sup>b<font color=\"#008080\"><sub>c"
            u"<font color=\"#0000FF\"></sub>d<font color=\"#FFFF00\"><sup>e<font color=\"#FFFFFF\"></sup>f");
  EXPECT_EQ(markup.size(), 138u + 5 + 6 + 5 + 6 + 5 + 6);
}

TEST(Fade, TiesRoundToEven) {
  // 2.5 gives 2 (down), 127.5 gives 128 (up, in the worked example).
  auto codes = Codes(FadeFiveColors(0, 0x050505, 0, 0, 0, u"abcde", false));
  EXPECT_EQ(codes, (std::vector<std::string>{"020202", "050505", "000000", "000000", "000000"}));
}

TEST(Fade, RoundsTheDoubleResultNotTheExactFraction) {
  // Segment 1 of 14 characters runs red 0 to 29: 29 / 14 * 7 is a little above 14.5.
  std::u16string text(56, u'x');
  auto codes = Codes(FadeFiveColors(0, 0x1D, 0x1D, 0x1D, 0x1D, text, false));
  ASSERT_EQ(codes.size(), 56u);
  EXPECT_EQ(codes[6], "0F0000");
  EXPECT_EQ(codes[13], "1D0000");
}

TEST(Fade, ShortTextsShowColoursTwoOnward) {
  const std::int32_t c[5] = {0x000001, 0x000002, 0x000003, 0x000004, 0x000005};
  const std::vector<std::string> expect = {"020000", "030000", "040000", "050000"};
  for (std::size_t n = 1; n <= 4; ++n) {
    auto codes = Codes(FadeFiveColors(c[0], c[1], c[2], c[3], c[4], std::u16string(n, u'a'), false));
    EXPECT_EQ(codes, std::vector<std::string>(expect.begin(), expect.begin() + n)) << n;
  }
  // Five characters: the first one halfway from colour 1 to colour 2.
  auto five = Codes(FadeFiveColors(kRed, kBlue, kGreen, kYellow, kWhite, u"abcde", false));
  EXPECT_EQ(five, (std::vector<std::string>{"800080", "0000FF", "00FF00", "FFFF00", "FFFFFF"}));
}

TEST(Fade, EqualColoursGiveOneCodeReadRedGreenBlue) {
  for (const Glyph& g : Parse(FadeFiveColors(0x123456, 0x123456, 0x123456, 0x123456, 0x123456,
                                             u"one colour", false))) {
    EXPECT_EQ(g.code, "563412");
  }
}

TEST(Fade, LastCharacterHasColourFive) {
  for (std::size_t n : {4u, 5u, 17u, 100u, 1001u}) {
    auto codes = Codes(FadeFiveColors(kRed, kGreen, kBlue, kYellow, 0x80FF40, std::u16string(n, u'z'), false));
    EXPECT_EQ(codes.back(), "40FF80") << n;
  }
}

TEST(Fade, EmptyTextGivesEmptyResultAndPumpsOnce) {
  int pumps = 0;
  EXPECT_EQ(FadeFiveColors(kRed, kGreen, kBlue, kYellow, kWhite, u"", false, [&] { ++pumps; }), u"");
  EXPECT_EQ(pumps, 1);
}

TEST(Fade, SegmentLengthsAndPumpCallsFollowTheCount) {
  // Each segment changes one component of black, red, yellow, white, black, so
  // only a segment's last character shows its end colour exactly.
  const std::int32_t black = 0, red = 0x0000FF, yellow = 0x00FFFF, white = 0xFFFFFF;
  struct Row { std::size_t n, a, b, c, d; int pumps; };
  for (const Row& row : {Row{1, 1, 0, 0, 0, 1}, Row{2, 1, 1, 0, 0, 1}, Row{3, 1, 1, 1, 0, 1},
                         Row{4, 1, 1, 1, 1, 1}, Row{5, 2, 1, 1, 1, 2}, Row{6, 2, 2, 1, 1, 2},
                         Row{7, 2, 2, 2, 1, 2}, Row{8, 2, 2, 2, 2, 2}, Row{9, 3, 2, 2, 2, 3}}) {
    int pumps = 0;
    auto codes = Codes(FadeFiveColors(black, red, yellow, white, black, std::u16string(row.n, u'q'), false,
                                      [&] { ++pumps; }));
    EXPECT_EQ(pumps, row.pumps) << row.n;
    std::vector<std::size_t> ends;
    const std::vector<std::string> end_codes = {"FF0000", "FFFF00", "FFFFFF", "000000"};
    std::size_t expect_at = 0;
    const std::size_t lengths[4] = {row.a, row.b, row.c, row.d};
    for (int j = 0; j < 4; ++j) {
      if (lengths[j] == 0) continue;
      expect_at += lengths[j];
      EXPECT_EQ(codes[expect_at - 1], end_codes[j]) << "n=" << row.n << " segment " << j + 1;
      for (std::size_t i = expect_at - lengths[j]; i + 1 < expect_at; ++i) {
        EXPECT_NE(codes[i], end_codes[j]) << "n=" << row.n << " segment " << j + 1;
      }
    }
    EXPECT_EQ(expect_at, row.n);
  }
}

TEST(Fade, LongestTextIsAcceptedAndOneMoreIsRejectedBeforeThePump) {
  int pumps = 0;
  std::u16string text(32767, u'm');
  auto markup = FadeFiveColors(kRed, kGreen, kBlue, kYellow, kWhite, text, false, [&] { ++pumps; });
  EXPECT_EQ(pumps, 8192);
  EXPECT_EQ(markup.size(), 32767u * 23);
  auto codes = Codes(markup);
  // Segments of 8192, 8192, 8192 and 8191: each ends on its end colour.
  EXPECT_EQ(codes[8191], "00FF00");
  EXPECT_EQ(codes[16383], "0000FF");
  EXPECT_EQ(codes[24575], "FFFF00");
  EXPECT_EQ(codes[32766], "FFFFFF");

  pumps = 0;
  text.push_back(u'm');
  EXPECT_THROW(FadeFiveColors(kRed, kGreen, kBlue, kYellow, kWhite, text, false, [&] { ++pumps; }),
               fader::OverflowError);
  EXPECT_EQ(pumps, 0);
}

TEST(Fade, ComponentDifferenceBeyondSixteenBitsIsRejectedBeforeThePump) {
  int pumps = 0;
  auto pump = [&] { ++pumps; };
  EXPECT_THROW(FadeFiveRgb(-32768, 0, 0, 32767, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, u"ab", false, pump),
               fader::OverflowError);
  // The same difference in segment 2, which a single character never reaches, is never formed.
  EXPECT_EQ(Codes(FadeFiveRgb(0, 0, 0, -32768, 0, 0, 32767, 0, 0, 0, 0, 0, 0, 0, 0, u"a", false, pump)),
            std::vector<std::string>{"80000000"});
  // Differences of 32767 and -32768 are the last that fit.
  EXPECT_EQ(Codes(FadeFiveRgb(0, 0, 0, 32767, 0, 0, -1, 0, 0, 0, 0, 0, 0, 0, 0, u"ab", false, pump)),
            (std::vector<std::string>{"7FFF0000", "FFFF0000"}));
  EXPECT_EQ(pumps, 2);
}

TEST(Fade, ComponentsOutsideByteRangeStillGiveWellFormedCodes) {
  // Direct callers may pass such components; a negative packed colour has
  // eight digits, a red of 256 seven. One beyond 32 bits is an error.
  auto codes = Codes(FadeFiveRgb(0, 0, 0, -1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, u"a", false));
  EXPECT_EQ(codes, std::vector<std::string>{"FFFF0000"});
  EXPECT_EQ(Codes(FadeFiveRgb(0, 0, 0, 256, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, u"a", false)),
            std::vector<std::string>{"1000000"});
  EXPECT_THROW(FadeFiveRgb(0, 0, 0, 32767, 32767, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, u"a", false), fader::OverflowError);
  // The largest colour that fits.
  EXPECT_EQ(Codes(FadeFiveRgb(32767, 255, 255, 32767, 255, 255, 32767, 255, 255, 32767, 255, 255, 32767, 255, 255,
                              u"a", false)),
            std::vector<std::string>{"7FFFFFFF"});
}

TEST(Fade, SevenAndEightDigitColourValuesEnterWithTheirSplitComponents) {
  // 1000000 splits into red 0, green 0, blue 16; 8000000F into 15, 0, 128.
  auto codes = Codes(FadeFiveColors(0, 0x1000000, static_cast<std::int32_t>(0x8000000F), -1, 0, u"abcd", false));
  EXPECT_EQ(codes, (std::vector<std::string>{"000010", "0F0080", "FFFFFF", "000000"}));
}

TEST(Fade, SpecialCharactersAndSurrogateHalvesEachGetTheirOwnTag) {
  std::u16string text = u"<>&\"'\U0001F600";
  auto glyphs = Parse(FadeFiveColors(kRed, kGreen, kBlue, kYellow, kWhite, text, false));
  ASSERT_EQ(glyphs.size(), text.size());
  for (std::size_t i = 0; i < text.size(); ++i) EXPECT_EQ(glyphs[i].ch, text[i]) << i;
  EXPECT_EQ(glyphs[5].ch, 0xD83D);
  EXPECT_EQ(glyphs[6].ch, 0xDE00);
}

TEST(Fade, WaveCycleRunsAcrossSegmentsAndRestartsEveryCall) {
  for (int call = 0; call < 2; ++call) {
    auto glyphs = Parse(FadeFiveColors(kRed, kGreen, kBlue, kYellow, kWhite, u"abcdefg", true));
    std::vector<std::string> waves;
    for (const Glyph& g : glyphs) waves.push_back(g.wave);
    EXPECT_EQ(waves, (std::vector<std::string>{"<sup>", "</sup>", "<sub>", "</sub>", "<sup>", "</sup>", "<sub>"}));
  }
}

TEST(Fade, NestedCallFromThePumpLeavesTheOuterResultIntact) {
  const std::u16string outer_text = u"the outer line, long enough for several passes";
  const auto expected = FadeFiveColors(kRed, kGreen, kBlue, kYellow, kWhite, outer_text, false);
  std::vector<std::u16string> inner;
  auto pump = [&] {
    if (inner.size() < 3) inner.push_back(FadeFiveColors(kWhite, kYellow, kBlue, kGreen, kRed, u"inner", true));
  };
  EXPECT_EQ(FadeFiveColors(kRed, kGreen, kBlue, kYellow, kWhite, outer_text, false, pump), expected);
  ASSERT_EQ(inner.size(), 3u);
  EXPECT_EQ(inner[0], FadeFiveColors(kWhite, kYellow, kBlue, kGreen, kRed, u"inner", true));
}

// The reference's own colour code: upper-case hex, padded in front to six digits.
std::u16string ReferenceHex(std::uint32_t value) {
  std::u16string code;
  do {
    code.insert(code.begin(), u"0123456789ABCDEF"[value % 16]);
    value /= 16;
  } while (value != 0);
  while (code.size() < 6) code.insert(code.begin(), u'0');
  return code;
}

// A literal, unoptimised rendering of red, green and blue of five colours,
// sharing no code with the library: the counting passes, the cut, and each
// component as difference / L * k + start rounded with std::nearbyint.
std::u16string ReferenceFadeRgb(const int rgb[5][3], const std::u16string& text, bool wave) {
  int n = static_cast<int>(text.size()), len[4] = {0, 0, 0, 0};
  while (true) {
    int* order[4] = {&len[0], &len[1], &len[2], &len[3]};
    bool stop = false;
    for (int j = 0; j < 4 && !stop; ++j) {
      ++*order[j];
      --n;
      stop = n < 1;
    }
    if (stop) break;
  }
  std::u16string out;
  std::size_t at = 0;
  int counter = 0;
  const char16_t* tags[4] = {u"<sup>", u"</sup>", u"<sub>", u"</sub>"};
  for (int j = 0; j < 4; ++j) {
    std::u16string seg = text.substr(std::min(at, text.size()), len[j]);
    at += len[j];
    int L = static_cast<int>(seg.size());
    for (int k = 1; k <= L; ++k) {
      int c[3];
      for (int i = 0; i < 3; ++i) {
        double diff = rgb[j + 1][i] - rgb[j][i];
        c[i] = static_cast<int>(std::nearbyint(diff / L * k + rgb[j][i]));
      }
      out += u"<font color=\"#" + ReferenceHex(static_cast<std::uint32_t>(c[0] * 65536 + c[1] * 256 + c[2])) + u"\">";
      if (wave) {
        counter = counter + 1 > 4 ? 1 : counter + 1;
        out += tags[counter - 1];
      }
      out += seg[k - 1];
    }
  }
  return out;
}

// The same on colour values: each colour's red from the last two digits of
// its code, green from the third and fourth, blue from the first two (for
// 0x00BBGGRR, its three bytes).
std::u16string ReferenceFade(const std::int32_t colours[5], const std::u16string& text, bool wave) {
  int rgb[5][3];
  for (int i = 0; i < 5; ++i) {
    const auto value = static_cast<std::uint32_t>(colours[i]);
    const int digits = static_cast<int>(ReferenceHex(value).size());
    rgb[i][0] = static_cast<int>(value & 0xFF);
    rgb[i][1] = static_cast<int>((value >> 4 * (digits - 4)) & 0xFF);
    rgb[i][2] = static_cast<int>((value >> 4 * (digits - 2)) & 0xFF);
  }
  return ReferenceFadeRgb(rgb, text, wave);
}

TEST(Fade, MatchesALiteralRenderingOnRandomLinesAndColours) {
  std::mt19937 rng(20261207);
  std::uniform_int_distribution<std::int32_t> any_colour(INT32_MIN, INT32_MAX);
  std::uniform_int_distribution<int> length(0, 300), unit(1, 0xFFFF), pick(0, 3);
  for (int round = 0; round < 400; ++round) {
    std::int32_t colours[5];
    for (auto& c : colours) c = pick(rng) == 0 ? any_colour(rng) : (any_colour(rng) & 0xFFFFFF);
    std::u16string text(length(rng), u' ');
    for (auto& ch : text) ch = static_cast<char16_t>(unit(rng));
    const bool wave = pick(rng) == 0;
    ASSERT_EQ(FadeFiveColors(colours[0], colours[1], colours[2], colours[3], colours[4], text, wave),
              ReferenceFade(colours, text, wave))
        << "round " << round;
  }
}

// Lines as typed: mostly letters, with the characters markup treats specially
// and surrogate pairs mixed in, so that every kind of unit lands at every
// offset of the per-character layout.
std::u16string TypedLine(std::mt19937& rng, std::size_t n) {
  static const std::u16string pool = u"abcxyz <>&\"'=#/\U0001F600\u00E1\uFFFF";
  std::uniform_int_distribution<std::size_t> pick(0, pool.size() - 1);
  std::u16string text(n, u' ');
  for (auto& ch : text) ch = pool[pick(rng)];
  return text;
}

std::int32_t RandomByteColour(std::mt19937& rng) {
  // Often one of the extremes or a near neighbour, where the steps are steepest or flattest.
  static const std::int32_t corners[] = {0, 0xFFFFFF, 0xFF, 0xFF00, 0xFF0000, 0x010101, 0xFEFEFE, 0x808080};
  std::uniform_int_distribution<int> pick(0, 15);
  int p = pick(rng);
  if (p < 8) return corners[p];
  return std::uniform_int_distribution<std::int32_t>(0, 0xFFFFFF)(rng);
}

TEST(Fade, ByteRangeColoursMatchALiteralRenderingOnRandomTypedLines) {
  std::mt19937 rng(7331);
  std::uniform_int_distribution<int> coin(0, 1), short_length(0, 40), long_length(0, 3000);
  for (int round = 0; round < 300; ++round) {
    std::int32_t colours[5];
    for (auto& c : colours) c = RandomByteColour(rng);
    const std::size_t n = static_cast<std::size_t>(round % 3 == 0 ? long_length(rng) : short_length(rng));
    const std::u16string text = TypedLine(rng, n);
    const bool wave = coin(rng) == 1;
    ASSERT_EQ(FadeFiveColors(colours[0], colours[1], colours[2], colours[3], colours[4], text, wave),
              ReferenceFade(colours, text, wave))
        << "round " << round << ", " << n << " characters, wave " << wave;
  }
}

TEST(Fade, ComponentsOutsideByteRangeMatchALiteralRenderingOnRandomTypedLines) {
  // Any component outside 0..255 sends the whole line down the general path,
  // where codes of seven or eight digits (negative colours) occur.
  std::mt19937 rng(2112);
  std::uniform_int_distribution<int> component(-600, 600), coin(0, 1), length(0, 120);
  for (int round = 0; round < 300; ++round) {
    int rgb[5][3];
    for (auto& colour : rgb)
      for (int& c : colour) c = component(rng);
    const auto at = [&](int i, int j) { return static_cast<std::int16_t>(rgb[i][j]); };
    const std::u16string text = TypedLine(rng, static_cast<std::size_t>(length(rng)));
    const bool wave = coin(rng) == 1;
    ASSERT_EQ(FadeFiveRgb(at(0, 0), at(0, 1), at(0, 2), at(1, 0), at(1, 1), at(1, 2), at(2, 0), at(2, 1), at(2, 2),
                          at(3, 0), at(3, 1), at(3, 2), at(4, 0), at(4, 1), at(4, 2), text, wave),
              ReferenceFadeRgb(rgb, text, wave))
        << "round " << round << ", " << text.size() << " characters, wave " << wave;
  }
}

TEST(Fade, EveryStepSizeRoundsAsTheLiteralRendering) {
  // Differences from -255 to 255 in each component, over segment lengths that
  // give exact ties (2, 14), long runs of one code (256, 1000) and runs of one
  // character. Segment 1 has the given length; the other three one fewer
  // depending on d, which also moves the wave's offset at the borders.
  const std::size_t segment_lengths[] = {1, 2, 3, 7, 8, 9, 14, 16, 17, 29, 64, 256, 1000};
  for (int d = 0; d <= 255; d += (d < 40 ? 1 : 7)) {
    const std::int32_t low = d | (255 - d) << 8 | (d / 2) << 16;
    const std::int32_t high = (255 - d) | d << 8 | (255 - d / 3) << 16;
    const std::int32_t colours[5] = {low, high, low, 0x000000, high};
    for (std::size_t length : segment_lengths) {
      const std::u16string text(4 * length - (length > 1 ? d % 4 : 0), u'w');
      for (bool wave : {false, true}) {
        ASSERT_EQ(FadeFiveColors(colours[0], colours[1], colours[2], colours[3], colours[4], text, wave),
                  ReferenceFade(colours, text, wave))
            << "d " << d << ", segment length " << length << ", wave " << wave;
      }
    }
  }
}

TEST(Fade, LongestWaveLineMatchesALiteralRendering) {
  std::mt19937 rng(99);
  const std::u16string text = TypedLine(rng, 32767);
  const std::int32_t colours[5] = {0xFF, 0xFF0000, 0xE0E0E0, 0xFF8080, 0};
  const auto markup = FadeFiveColors(colours[0], colours[1], colours[2], colours[3], colours[4], text, true);
  EXPECT_EQ(markup.size(), 32767u * 23 + 16383u * 11 + 5);
  EXPECT_EQ(markup, ReferenceFade(colours, text, true));
}

}  // namespace
