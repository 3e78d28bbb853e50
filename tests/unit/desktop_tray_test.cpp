// The tray record as filled and as the shell gets it, the decoding of the
// tray's mouse messages out of the window's x coordinate, and when the window
// may hide behind its icon and how it comes back.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "base/overflow_error.h"
#include "desktop/tray.h"

namespace {

using fader::TrayEvent;
using fader::TrayRecord;

// Stands in for code page 1252 on the characters used here; '?' otherwise.
std::string Latin1(std::u16string_view s) {
  std::string out;
  for (char16_t c : s) out.push_back(c < 0x100 ? static_cast<char>(c) : '?');
  return out;
}

// A double-byte code page: every character takes two bytes.
std::string TwoBytes(std::u16string_view s) {
  std::string out;
  for (char16_t c : s) {
    out.push_back(static_cast<char>(0x81));
    out.push_back(static_cast<char>(c & 0x7F));
  }
  return out;
}

std::u16string Tip(const TrayRecord& r) { return std::u16string(r.szTip.begin(), r.szTip.end()); }

TrayRecord Filled(std::u16string_view tip) {
  TrayRecord r{};
  fader::FillTrayRecord(r, 0x00010ABC, 0x00020DEF, tip);
  return r;
}

TEST(TrayRecordFill, SetsEveryFieldForAddingTheIcon) {
  TrayRecord r{};
  fader::FillTrayRecord(r, 0x8001F00D, 0xFFFF1234, u"x");
  EXPECT_EQ(r.cbSize, 88u);
  EXPECT_EQ(r.hWnd, 0x8001F00Du);
  EXPECT_EQ(r.uID, 1u);
  EXPECT_EQ(r.uFlags, 7u);
  EXPECT_EQ(r.uCallbackMessage, 512u);
  EXPECT_EQ(r.hIcon, 0xFFFF1234u);
}

TEST(TrayRecordFill, ShortTipIsFollowedByOneNulAndSpaces) {
  EXPECT_EQ(Tip(Filled(u"ab")), u"ab" + std::u16string(1, u'\0') + std::u16string(61, u' '));
  EXPECT_EQ(Tip(Filled(u"")), std::u16string(1, u'\0') + std::u16string(63, u' '));
  const std::u16string caption = u"m\u00EDrt\u00E1n\u00E9 \u00B7 b\u00FD grelvin";
  EXPECT_EQ(Tip(Filled(caption)), caption + u'\0' + std::u16string(64 - caption.size() - 1, u' '));
}

TEST(TrayRecordFill, TipsOf63AndMoreEndInANulAt63) {
  const std::u16string long100(100, u'k');
  for (std::size_t n : {63u, 64u, 65u, 100u}) {
    const std::u16string tip = long100.substr(0, n - 1) + u'Z';
    const std::u16string got = Tip(Filled(tip));
    EXPECT_EQ(got.substr(0, 63), tip.substr(0, 63)) << n;
    EXPECT_EQ(got[63], u'\0') << n;
  }
}

TEST(TrayRecordFill, RefillLeavesNothingOfAnEarlierTip) {
  TrayRecord r = Filled(std::u16string(80, u'w'));
  fader::FillTrayRecord(r, 1, 2, u"hi");
  EXPECT_EQ(Tip(r), u"hi" + std::u16string(1, u'\0') + std::u16string(61, u' '));
  EXPECT_EQ(r.hWnd, 1u);
  EXPECT_EQ(r.hIcon, 2u);
}

TEST(TrayTipBytes, CaptionIsConvertedAndPaddedWithSpaces) {
  const auto b = fader::TrayTipBytes(Filled(u"m\u00EDrt\u00E1n\u00E9 \u00B7 b\u00FD grelvin"), Latin1);
  const std::vector<std::uint8_t> text(b.begin(), b.begin() + 20);
  EXPECT_EQ(text, (std::vector<std::uint8_t>{'m', 0xED, 'r', 't', 0xE1, 'n', 0xE9, ' ', 0xB7, ' ', 'b',
                                             0xFD, ' ', 'g', 'r', 'e', 'l', 'v', 'i', 'n'}));
  EXPECT_EQ(b[20], 0);
  for (std::size_t i = 21; i < 64; ++i) EXPECT_EQ(b[i], ' ') << i;
}

TEST(TrayTipBytes, LongTipEndsInANulAtTheLastByte) {
  const auto b = fader::TrayTipBytes(Filled(std::u16string(70, u'q')), Latin1);
  for (std::size_t i = 0; i < 63; ++i) EXPECT_EQ(b[i], 'q') << i;
  EXPECT_EQ(b[63], 0);
}

TEST(TrayTipBytes, DoubleByteTipIsCutAtACharacterBoundaryAndTerminated) {
  // 40 characters of two bytes: 31 fit before the NUL, the 32nd would not.
  const auto b = fader::TrayTipBytes(Filled(std::u16string(40, u'a')), TwoBytes);
  for (std::size_t i = 0; i < 62; i += 2) {
    EXPECT_EQ(b[i], 0x81) << i;
    EXPECT_EQ(b[i + 1], 'a') << i;
  }
  EXPECT_EQ(b[62], 0);
  EXPECT_EQ(b[63], ' ');
  // Thirty characters fit whole: NUL right after them, spaces to the end.
  const auto c = fader::TrayTipBytes(Filled(std::u16string(30, u'a')), TwoBytes);
  EXPECT_EQ(c[59], 'a');
  EXPECT_EQ(c[60], 0);
  for (std::size_t i = 61; i < 64; ++i) EXPECT_EQ(c[i], ' ');
}

TEST(TrayTipBytes, SurrogatePairIsConvertedAsOneCharacter) {
  std::vector<std::u16string> calls;
  auto recording = [&calls](std::u16string_view s) {
    calls.emplace_back(s);
    return std::string(1, '?');
  };
  // The first and the last pair, then units just outside the two ranges
  // beside lone halves, which go one by one.
  const auto b = fader::TrayTipBytes(Filled(u"a\U00010000\U0010FFFF\uD7FF\xDC00\xDBFF\uE000"), recording);
  EXPECT_EQ(calls, (std::vector<std::u16string>{u"a", u"\U00010000", u"\U0010FFFF", u"\uD7FF", u"\xDC00", u"\xDBFF",
                                                u"\uE000"}));
  EXPECT_EQ(b[6], '?');
  EXPECT_EQ(b[7], 0);
}

TEST(TrayTipBytes, TipOfTheRecordBeforeTheFirstMinimizeIsAllZero) {
  const TrayRecord zero{};
  const auto b = fader::TrayTipBytes(zero, Latin1);
  for (std::size_t i = 0; i < 64; ++i) EXPECT_EQ(b[i], 0) << i;
}

TEST(TrayEventDecoding, TwipsAt15PerPixelDecodeTheMouseMessage) {
  const std::int16_t twips = 1;
  EXPECT_EQ(TrayEvent(7725, twips, 15), 1);  // 515: left double-click
  EXPECT_EQ(TrayEvent(7740, twips, 15), 2);  // 516: right press
  EXPECT_EQ(TrayEvent(7695, twips, 15), 0);  // 513: left press
  EXPECT_EQ(TrayEvent(7710, twips, 15), 0);  // 514: left release
  EXPECT_EQ(TrayEvent(7755, twips, 15), 0);  // 517: right release
  EXPECT_EQ(TrayEvent(7680, twips, 15), 0);  // 512: pointer moved
  EXPECT_EQ(TrayEvent(6180, twips, 12), 1);  // 515 at 120 dots per inch
  EXPECT_EQ(TrayEvent(7725, 0, 15), 1);      // any unit but pixels divides
}

TEST(TrayEventDecoding, PixelsAreTakenAsTheyAre) {
  const std::int16_t pixels = 3;
  EXPECT_EQ(TrayEvent(515, pixels, 15), 1);
  EXPECT_EQ(TrayEvent(516, pixels, 15), 2);
  EXPECT_EQ(TrayEvent(7725, pixels, 15), 0);
  EXPECT_EQ(TrayEvent(514, pixels, 15), 0);
}

TEST(TrayEventDecoding, HalvesRoundToTheEvenNeighbour) {
  EXPECT_EQ(TrayEvent(7732.5f, 1, 15), 2);  // 515.5 -> 516
  EXPECT_EQ(TrayEvent(7717.5f, 1, 15), 0);  // 514.5 -> 514, not 515
  EXPECT_EQ(TrayEvent(515.5f, 3, 15), 2);
  EXPECT_EQ(TrayEvent(514.5f, 3, 15), 0);
  EXPECT_EQ(TrayEvent(7724.0f, 1, 15), 1);  // 514.93 -> 515
  EXPECT_EQ(TrayEvent(516.4f, 3, 15), 2);
}

TEST(TrayEventDecoding, UndecodableXThrowsOverflow) {
  EXPECT_THROW(TrayEvent(7725, 1, 0), fader::OverflowError);
  EXPECT_THROW(TrayEvent(std::numeric_limits<float>::quiet_NaN(), 3, 15), fader::OverflowError);
  EXPECT_THROW(TrayEvent(3.0e10f, 3, 15), fader::OverflowError);
  EXPECT_THROW(TrayEvent(-std::numeric_limits<float>::infinity(), 1, 15), fader::OverflowError);
  EXPECT_EQ(TrayEvent(0, 1, 0.5), 0);
}

// A shell that records what it is asked and refuses adds while told to.
class FakeShell : public fader::TrayShell {
 public:
  bool refuse = false;
  std::vector<std::string> calls;
  bool AddIcon() override {
    calls.push_back(refuse ? "add refused" : "add");
    return !refuse;
  }
  void DeleteIcon() override { calls.push_back("delete"); }
  void ShowWindow(bool shown) override { calls.push_back(shown ? "show" : "hide"); }
  void FocusWindow() override { calls.push_back("focus"); }
};

using Calls = std::vector<std::string>;

TEST(TrayState, HidesOnlyOnceTheShellHasTakenTheIcon) {
  FakeShell shell;
  fader::TrayState tray;
  shell.refuse = true;
  EXPECT_FALSE(tray.Minimize(shell));
  EXPECT_EQ(shell.calls, Calls{"add refused"});
  // Nothing to put back after a refusal.
  tray.TaskbarCreated(shell);
  EXPECT_EQ(shell.calls, Calls{"add refused"});

  shell.refuse = false;
  EXPECT_TRUE(tray.Minimize(shell));
  tray.TaskbarCreated(shell);  // hidden now: the icon is put back
  EXPECT_EQ(shell.calls, (Calls{"add refused", "add", "hide", "delete", "add"}));
}

TEST(TrayState, NewTaskbarGetsTheIconBackOrTheWindowIsShown) {
  FakeShell shell;
  fader::TrayState tray;
  tray.TaskbarCreated(shell);  // shown: the window has its taskbar button
  EXPECT_TRUE(shell.calls.empty());

  tray.Minimize(shell);
  shell.calls.clear();
  tray.TaskbarCreated(shell);
  tray.TaskbarCreated(shell);  // again, with the icon still there
  EXPECT_EQ(shell.calls, (Calls{"delete", "add", "delete", "add"}));

  shell.calls.clear();
  shell.refuse = true;
  tray.TaskbarCreated(shell);
  tray.TaskbarCreated(shell);  // shown again: nothing more to put back
  EXPECT_EQ(shell.calls, (Calls{"delete", "add refused", "show"}));
}

TEST(TrayState, RestoreAndLeaveEndTheHiding) {
  FakeShell shell;
  fader::TrayState tray;
  tray.Minimize(shell);
  tray.Leave(shell);  // the window is left as it is
  tray.TaskbarCreated(shell);
  tray.Minimize(shell);
  EXPECT_FALSE(tray.MouseMessage(shell, 7710, 1, 15) || tray.MouseMessage(shell, 7717.5f, 1, 15));  // 514: kept
  EXPECT_TRUE(tray.MouseMessage(shell, 7740, 1, 15));  // 516, a right press: back, with the focus
  tray.TaskbarCreated(shell);  // no icon comes back for a window not hidden
  EXPECT_EQ(shell.calls, (Calls{"add", "hide", "delete", "add", "hide", "delete", "show", "focus"}));
}

}  // namespace
