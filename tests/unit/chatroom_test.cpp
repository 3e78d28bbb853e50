// The stand-in chat room: how it reads a posted line, its command line, its log.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/chatroom/room_markup.h"
#include "tools/chatroom/room_options.h"
#include "tools/chatroom/room_rtf.h"

namespace {

using fader::room::ReadChatLine;
using fader::room::Rgb;
using fader::room::Run;
using fader::room::Shift;

std::u16string Texts(const std::vector<Run>& runs) {
  std::u16string out;
  for (const Run& r : runs) out += r.text;
  return out;
}

// The run that holds character i of the shown text.
const Run& RunAt(const std::vector<Run>& runs, std::size_t i) {
  for (const Run& r : runs) {
    if (i < r.text.size()) return r;
    i -= r.text.size();
  }
  static const Run none;
  ADD_FAILURE() << "no character " << i;
  return none;
}

TEST(ReadChatLine, EachFontColourColoursWhatFollows) {
  const auto runs = ReadChatLine(u"<font color=\"#FF0000\">a<font color=\"#00ff80\">bc");
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[0].text, u"a");
  EXPECT_EQ(runs[0].style.color, (Rgb{255, 0, 0}));
  EXPECT_EQ(runs[1].text, u"bc");
  EXPECT_EQ(runs[1].style.color, (Rgb{0, 255, 128}));
}

TEST(ReadChatLine, ColourWrittenWithoutQuotesOrHashStillCounts) {
  EXPECT_EQ(ReadChatLine(u"<font color=#0000FF>x").at(0).style.color, (Rgb{0, 0, 255}));
  EXPECT_EQ(ReadChatLine(u"<FONT COLOR='00FF00'>x").at(0).style.color, (Rgb{0, 255, 0}));
}

TEST(ReadChatLine, ABadColourKeepsTheColourBefore) {
  const auto runs = ReadChatLine(u"<font color=\"#FF0000\">a<font color=\"#GG0000\">b<font color=\"#FFF\">c");
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_EQ(runs[0].text, u"abc");
  EXPECT_EQ(runs[0].style.color, (Rgb{255, 0, 0}));
}

TEST(ReadChatLine, FaceAndColourOfOneTagAndClosingGoesBack) {
  const auto runs =
      ReadChatLine(u"<font face=\"arial narrow\" color=\"#102030\">in</font>out<font color=\"#FFFFFF\">w</font></font>z");
  EXPECT_EQ(Texts(runs), u"inoutwz");
  EXPECT_EQ(RunAt(runs, 0).style.face, u"arial narrow");
  EXPECT_EQ(RunAt(runs, 0).style.color, (Rgb{16, 32, 48}));
  EXPECT_EQ(RunAt(runs, 2).style.face, u"");
  EXPECT_FALSE(RunAt(runs, 2).style.color.has_value());
  EXPECT_EQ(RunAt(runs, 5).style.color, (Rgb{255, 255, 255}));
  // A </font> with nothing open changes nothing.
  EXPECT_FALSE(RunAt(runs, 6).style.color.has_value());
}

TEST(ReadChatLine, ColourOnlyTagKeepsTheFace) {
  const auto runs = ReadChatLine(u"<font face=\"Courier New\">a<font color=\"#00FF00\">b");
  EXPECT_EQ(RunAt(runs, 1).style.face, u"Courier New");
  EXPECT_EQ(RunAt(runs, 1).style.color, (Rgb{0, 255, 0}));
}

TEST(ReadChatLine, FacesAreCutTo31Characters) {
  // A window's font takes no more, and a long face must not be copied into every run.
  EXPECT_EQ(ReadChatLine(u"<font face=\"" + std::u16string(40, u'F') + u"\">x").at(0).style.face,
            std::u16string(31, u'F'));
}

TEST(ReadChatLine, WaveTagsRaiseAndLowerInTurn) {
  const auto runs = ReadChatLine(u"<sup>a</sup>b<sub>c</sub>d<SUP>e");
  EXPECT_EQ(Texts(runs), u"abcde");
  EXPECT_EQ(RunAt(runs, 0).style.shift, Shift::kSuper);
  EXPECT_EQ(RunAt(runs, 1).style.shift, Shift::kNone);
  EXPECT_EQ(RunAt(runs, 2).style.shift, Shift::kSub);
  EXPECT_EQ(RunAt(runs, 3).style.shift, Shift::kNone);
  EXPECT_EQ(RunAt(runs, 4).style.shift, Shift::kSuper);
}

TEST(ReadChatLine, BoldItalicUnderlineOnAndOff) {
  const auto runs = ReadChatLine(u"<b>b<i>bi<u>biu</b>iu</i></u>n");
  EXPECT_TRUE(RunAt(runs, 0).style.bold);
  EXPECT_FALSE(RunAt(runs, 0).style.italic);
  EXPECT_TRUE(RunAt(runs, 4).style.underline && RunAt(runs, 4).style.bold && RunAt(runs, 4).style.italic);
  EXPECT_FALSE(RunAt(runs, 6).style.bold);
  EXPECT_TRUE(RunAt(runs, 6).style.italic);
  const auto& last = RunAt(runs, 8).style;
  EXPECT_FALSE(last.bold || last.italic || last.underline);
}

TEST(ReadChatLine, UnknownTagsAreDroppedAndNothingIsUnescaped) {
  EXPECT_EQ(Texts(ReadChatLine(u"a<blink>b</blink><br><html>c &amp; &lt;d")), u"abc &amp; &lt;d");
}

TEST(ReadChatLine, ALessThanThatStartsNoTagIsText) {
  EXPECT_EQ(Texts(ReadChatLine(u"1 < 2, <3 and <")), u"1 < 2, <3 and <");
  EXPECT_EQ(Texts(ReadChatLine(u"x <font color=\"#FF0000\" never ends")), u"x <font color=\"#FF0000\" never ends");
}

TEST(ReadChatLine, ATagAfterUnclosedQuotesStillCounts) {
  // The first two '<' open quotes that never close, so they are text.
  const auto runs = ReadChatLine(u"<i 'a<b \"c<u>d");
  EXPECT_EQ(Texts(runs), u"<i 'a<b \"cd");
  EXPECT_FALSE(RunAt(runs, 9).style.underline);
  EXPECT_TRUE(RunAt(runs, 10).style.underline);
}

TEST(ReadChatLine, UnclosedTagsTakeLinearWork) {
  for (const std::u16string_view unit : {u"<a", u"<a \"", u"<a '<b \""}) {
    std::u16string line;
    while (line.size() < 750000) line += unit;
    std::size_t steps = 0;
    const auto runs = ReadChatLine(line, &steps);
    EXPECT_EQ(Texts(runs), line);
    // Each place is searched from once in each of three quotes and marked as often.
    EXPECT_LE(steps, 6 * line.size()) << std::string(unit.begin(), unit.end());
  }
}

TEST(ReadChatLine, AGreaterThanInsideQuotesDoesNotEndTheTag) {
  const auto runs = ReadChatLine(u"<font face=\"a>b\" color=\"#010203\">x");
  EXPECT_EQ(Texts(runs), u"x");
  EXPECT_EQ(runs.at(0).style.face, u"a>b");
}

TEST(ReadChatLine, ValuesAfterSpacesOrInSingleQuotesCount) {
  const auto runs = ReadChatLine(u"<font color = \"#FF0000\"\tface=\t'a>b \"c\"'>x");
  EXPECT_EQ(Texts(runs), u"x");
  EXPECT_EQ(RunAt(runs, 0).style.color, (Rgb{255, 0, 0}));
  EXPECT_EQ(RunAt(runs, 0).style.face, u"a>b \"c\"");
}

TEST(ReadChatLine, AValueWhoseQuoteNeverClosesTakesTheRestOfTheTag) {
  // The tag ends at the '>' after the pair of double quotes; the single quote
  // opened after '=' swallows the colour.
  const auto runs = ReadChatLine(u"<font x\"='y\" color=#FF0000>a<b>c");
  EXPECT_EQ(Texts(runs), u"ac");
  EXPECT_FALSE(RunAt(runs, 0).style.color.has_value());
  EXPECT_TRUE(RunAt(runs, 1).style.bold);
}

TEST(ReadChatLine, AStrayEqualsSignAndItsValueAreSkipped) {
  // Registered with a short time-out: a reader that fails to step past a
  // stray '=' never ends.
  for (std::u16string_view line :
       {u"<font =#FF00FF color=#00FF00>x", u"<font == color=#00FF00>x", u"<font ='a b' color=#00FF00 =>x"}) {
    const auto runs = ReadChatLine(line);
    EXPECT_EQ(Texts(runs), u"x") << std::string(line.begin(), line.end());
    EXPECT_EQ(RunAt(runs, 0).style.color, (Rgb{0, 255, 0})) << std::string(line.begin(), line.end());
  }
}

TEST(ReadChatLine, LineBreaksShowAsSpacesAndOtherTextIsKept) {
  EXPECT_EQ(Texts(ReadChatLine(u"a\r\nb\u00ed\u2022")), u"a  b\u00ed\u2022");
}

TEST(ReadChatLine, EmptyLineAndOnlyTagsShowNothing) {
  EXPECT_TRUE(ReadChatLine(u"").empty());
  EXPECT_TRUE(ReadChatLine(u"<font color=\"#FF0000\"><sup></sup>").empty());
}

// ------------------------------------------------------------ command line

using fader::room::ParseOptions;
using fader::room::UsageError;

TEST(RoomOptions, DefaultsAndEveryOption) {
  const auto d = ParseOptions({});
  EXPECT_EQ(d.rooms, 1);
  EXPECT_EQ(d.documents, 0);
  EXPECT_EQ(d.hang_input_ms, 0u);
  EXPECT_EQ(d.slow_enter_ms, 0u);
  EXPECT_TRUE(d.log.empty());
  EXPECT_EQ(d.title, u"Stand-in chat room");

  const auto o = ParseOptions({u"--log", u"C:\\t\\r\u00ed.log", u"--rooms", u"3", u"--documents", u"16",
                               u"--hang-input", u"600000", u"--slow-enter", u"600000", u"--title", u"T"});
  EXPECT_EQ(o.log, u"C:\\t\\r\u00ed.log");
  EXPECT_EQ(o.rooms, 3);
  EXPECT_EQ(o.documents, 16);
  EXPECT_EQ(o.hang_input_ms, 600000u);
  EXPECT_EQ(o.slow_enter_ms, 600000u);
  EXPECT_EQ(o.title, u"T");
  EXPECT_EQ(ParseOptions({u"--rooms", u"0"}).rooms, 0);
  EXPECT_EQ(ParseOptions({u"--slow-enter", u"0"}).slow_enter_ms, 0u);
}

TEST(RoomOptions, BadCommandLinesAreRefused) {
  const std::vector<std::vector<std::u16string>> bad = {
      {u"--rooms"}, {u"--rooms", u"17"}, {u"--rooms", u"-1"}, {u"--rooms", u"2x"}, {u"--rooms", u""},
      {u"--documents", u"99999999999999999999"}, {u"--hang-input", u"600001"}, {u"--log", u""},
      {u"--slow-enter"}, {u"--slow-enter", u"600001"}, {u"--slow-enter", u"4294967296"}, {u"--slow-enter", u"+5"},
      {u"--slow-enter", u" 5"}, {u"--slow-enter", u"1e3"},
      {u"--verbose"}, {u"room"}};
  for (const auto& args : bad) {
    std::u16string joined;
    for (const auto& a : args) joined += a + u" ";
    SCOPED_TRACE(std::string(joined.begin(), joined.end()));
    EXPECT_THROW(ParseOptions(args), UsageError);
  }
}

// ---------------------------------------------------------------- log lines

TEST(RoomLog, SetTextLineHoldsEveryByteInHex) {
  const std::string bytes("\xED\x95\x00\x7F A", 6);
  EXPECT_EQ(fader::room::TextMessageLine("room=2", "WM_SETTEXT", 1252, bytes),
            "room=2 msg=WM_SETTEXT cp=1252 bytes=ED95007F2041");
  EXPECT_EQ(fader::room::TextMessageLine("display=1", "WM_SETTEXT", 1252, ""), "display=1 msg=WM_SETTEXT cp=1252 bytes=");
  EXPECT_EQ(fader::room::ValueMessageLine("room=1", "WM_CHAR", 13), "room=1 msg=WM_CHAR wparam=13");
}

// -- a posted line as rich text ---------------------------------------------

using fader::room::RunsToRtf;
using fader::room::Style;

Run MakeRun(std::u16string text, Style style = {}) { return Run{std::move(text), std::move(style)}; }

TEST(RunsToRtf, TablesHoldEachFaceAndColourOnceInFirstUse) {
  Style red;
  red.color = Rgb{255, 0, 0};
  Style blue_courier;
  blue_courier.color = Rgb{0, 0, 255};
  blue_courier.face = u"Courier";
  const std::string rtf =
      RunsToRtf({MakeRun(u"a", red), MakeRun(u"b", blue_courier), MakeRun(u"c", red), MakeRun(u"d")}, u"Arial");
  EXPECT_EQ(rtf,
            "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fnil Arial;}{\\f1\\fnil Courier;}}"
            "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;\\red0\\green0\\blue0;}"
            "{\\f0\\fs20\\cf1 a}{\\f1\\fs20\\cf2 b}{\\f0\\fs20\\cf1 c}{\\f0\\fs20\\cf3 d}}");
}

TEST(RunsToRtf, EffectsAndShiftsBecomeControlWords) {
  Style all;
  all.bold = all.italic = all.underline = true;
  all.shift = Shift::kSuper;
  Style sub;
  sub.shift = Shift::kSub;
  const std::string rtf = RunsToRtf({MakeRun(u"x", all), MakeRun(u"y", sub)}, u"Arial");
  EXPECT_NE(rtf.find("{\\f0\\fs20\\cf1\\b\\i\\ul\\super x}"), std::string::npos) << rtf;
  EXPECT_NE(rtf.find("{\\f0\\fs20\\cf1\\sub y}"), std::string::npos) << rtf;
}

TEST(RunsToRtf, TextIsEscapedAndEveryWideUnitWrittenAsUnicode) {
  // Braces and backslashes would end or start groups and words; a run's
  // text may also start with a letter or digit right after the words.
  const std::string rtf =
      RunsToRtf({MakeRun(u"1{\\}\t\u00E9\uFFFD\U0001F600<&>")}, u"Face{1}");
  EXPECT_NE(rtf.find("{\\f0\\fnil Face\\{1\\};}"), std::string::npos) << rtf;
  EXPECT_NE(rtf.find("\\cf1 1\\{\\\\\\}\\tab \\u233?\\u-3?\\u-10179?\\u-8704?<&>}"), std::string::npos) << rtf;
  for (const char ch : rtf) EXPECT_LT(static_cast<unsigned char>(ch), 0x80u);
}

TEST(RunsToRtf, ASemicolonInAFaceDoesNotEndItsName) {
  // Each font table entry has one plain ';', the one that ends it.
  Style odd;
  odd.face = u"a;b\\c";
  const std::string rtf = RunsToRtf({MakeRun(u"x", odd), MakeRun(u"y")}, u";");
  EXPECT_NE(rtf.find("{\\fonttbl{\\f0\\fnil a\\'3bb\\\\c;}{\\f1\\fnil \\'3b;}}"), std::string::npos) << rtf;
}

TEST(RunsToRtf, FacesAreCutTo31Characters) {
  Style long_face;
  long_face.face = std::u16string(40, u'F');
  const std::string rtf = RunsToRtf({MakeRun(u"z", long_face)}, u"Arial");
  EXPECT_NE(rtf.find("\\fnil " + std::string(31, 'F') + ";"), std::string::npos) << rtf;
  EXPECT_EQ(rtf.find(std::string(32, 'F')), std::string::npos);
}

TEST(RunsToRtf, NoRunsGiveAnEmptyDocument) {
  EXPECT_EQ(RunsToRtf({}, u"Arial"), "{\\rtf1\\ansi\\deff0{\\fonttbl}{\\colortbl;}}");
}

}  // namespace
