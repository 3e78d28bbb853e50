// The compose-and-send flow over fake controls, including events that arrive
// inside the fade's event pump.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "render/fade.h"
#include "window/compose_flow.h"

namespace {

using fader::ComposeFlow;

class FakeControls : public fader::ComposeControls {
 public:
  std::int32_t colors[6] = {0, 0x0000FF, 0xFF0000, 0xE0E0E0, 0xFF8080, 0x000000};
  std::u16string message, result;
  bool resultEdited = false;
  bool roomOpen = true;
  bool focusedMessage = false;
  int beeps = 0, resultWrites = 0, pumps = 0;
  std::vector<std::u16string> posted;
  std::function<void()> onPump;
  std::optional<std::int32_t> dialogAnswer;
  bool dialogThrows = false;

  std::int32_t SwatchColor(int i) const override { return colors[i]; }
  void SetSwatchColor(int i, std::int32_t c) override { colors[i] = c; }
  std::u16string MessageText() const override { return message; }
  void SetMessageText(std::u16string_view t) override { message = t; }
  std::u16string ResultText() const override { return result; }
  void SetResultText(std::u16string_view t) override {
    result = t;
    resultEdited = false;
    ++resultWrites;
  }
  bool ResultChangedElsewhere() const override { return resultEdited; }
  void FocusMessage() override { focusedMessage = true; }
  void Beep() override { ++beeps; }
  bool Post(std::u16string_view m) override {
    if (!roomOpen) return false;
    posted.emplace_back(m);
    return true;
  }
  void PumpEvents() override {
    ++pumps;
    if (auto f = std::exchange(onPump, nullptr)) f();
  }
  std::optional<std::int32_t> PickColor() override {
    if (dialogThrows) throw std::runtime_error("dialog failed");
    return dialogAnswer;
  }
};

std::u16string Expected(const FakeControls& c, std::u16string_view text) {
  return fader::FadeFiveColors(c.colors[1], c.colors[2], c.colors[3], c.colors[4], c.colors[5], text, false);
}

TEST(ComposeFlow, TickRendersTheLineWithTheSwatchColours) {
  FakeControls c;
  ComposeFlow flow(c);
  c.message = u"hello";
  flow.Tick();
  EXPECT_EQ(c.result, Expected(c, u"hello"));
  EXPECT_EQ(c.pumps, 2);
  // The default swatches run red, blue, light grey, light blue, black.
  EXPECT_NE(c.result.find(u"#0000FF\">e"), std::u16string::npos);
  EXPECT_NE(c.result.find(u"#000000\">o"), std::u16string::npos);
}

TEST(ComposeFlow, TickWithNothingNewWritesNothing) {
  FakeControls c;
  ComposeFlow flow(c);
  c.message = u"same";
  flow.Tick();
  flow.Tick();
  flow.Tick();
  EXPECT_EQ(c.resultWrites, 1);
  // A new colour or text renders again, and so does a result changed by other means.
  c.colors[3] = 0x00FF00;
  flow.Tick();
  EXPECT_EQ(c.result, Expected(c, u"same"));
  c.result = u"typed into the hidden box";
  c.resultEdited = true;
  flow.Tick();
  EXPECT_EQ(c.result, Expected(c, u"same"));
  EXPECT_EQ(c.resultWrites, 3);
}

TEST(ComposeFlow, EnterPostsTheMarkupEmptiesBothBoxesAndFocusesTheMessage) {
  FakeControls c;
  ComposeFlow flow(c);
  c.message = u"hi";
  flow.Tick();
  const auto markup = c.result;
  std::int16_t key = 13;
  flow.KeyPress(key);
  EXPECT_EQ(key, 13);
  ASSERT_EQ(c.posted.size(), 1u);
  EXPECT_EQ(c.posted[0], markup);
  EXPECT_EQ(c.message, u"");
  EXPECT_EQ(c.result, u"");
  EXPECT_TRUE(c.focusedMessage);
  // The next tick reads the emptied box and leaves the result empty.
  flow.Tick();
  EXPECT_EQ(c.result, u"");
}

TEST(ComposeFlow, OtherKeysNeverSend) {
  FakeControls c;
  ComposeFlow flow(c);
  c.message = u"hi";
  flow.Tick();
  for (std::int16_t code : {10, 32, 97, 8, 27}) {
    std::int16_t key = code;
    flow.KeyPress(key);
    EXPECT_EQ(key, code);
  }
  EXPECT_TRUE(c.posted.empty());
  EXPECT_EQ(c.message, u"hi");
}

TEST(ComposeFlow, EmptyResultDoesNothingAtAll) {
  FakeControls c;
  ComposeFlow flow(c);
  flow.Tick();
  std::int16_t key = 13;
  flow.KeyPress(key);
  flow.SendClick();
  EXPECT_TRUE(c.posted.empty());
  EXPECT_FALSE(c.focusedMessage);
  EXPECT_EQ(c.beeps, 0);
}

TEST(ComposeFlow, SendButtonPostsWhatEnterWould) {
  FakeControls enter, button;
  ComposeFlow a(enter), b(button);
  enter.message = button.message = u"same line";
  a.Tick();
  b.Tick();
  std::int16_t key = 13;
  a.KeyPress(key);
  b.SendClick();
  EXPECT_EQ(enter.posted, button.posted);
  EXPECT_TRUE(button.focusedMessage);
  EXPECT_EQ(button.message, u"");
}

TEST(ComposeFlow, NoRoomKeepsBothBoxesFocusesAndBeeps) {
  FakeControls c;
  ComposeFlow flow(c);
  c.roomOpen = false;
  c.message = u"keep me";
  flow.Tick();
  const auto markup = c.result;
  flow.SendClick();
  EXPECT_EQ(c.message, u"keep me");
  EXPECT_EQ(c.result, markup);
  EXPECT_TRUE(c.focusedMessage);
  EXPECT_EQ(c.beeps, 1);
  // Once a room is open the same line goes out.
  c.roomOpen = true;
  flow.SendClick();
  ASSERT_EQ(c.posted.size(), 1u);
  EXPECT_EQ(c.posted[0], markup);
}

TEST(ComposeFlow, SendInsideATicksPumpLeavesTheResultEmpty) {
  FakeControls c;
  ComposeFlow flow(c);
  c.message = u"first";
  flow.Tick();
  c.message = u"first and more";
  // The user presses Enter while the next tick is still rendering.
  c.onPump = [&] {
    std::int16_t key = 13;
    flow.KeyPress(key);
  };
  flow.Tick();
  ASSERT_EQ(c.posted.size(), 1u);
  EXPECT_EQ(c.result, u"");
  EXPECT_EQ(c.message, u"");
  // Nothing is left to be posted a second time.
  flow.SendClick();
  EXPECT_EQ(c.posted.size(), 1u);
}

TEST(ComposeFlow, TickInsideATickReturnsAtOnce) {
  FakeControls c;
  ComposeFlow flow(c);
  c.message = u"outer";
  int innerPumps = -1;
  c.onPump = [&] {
    c.message = u"changed inside";
    const int before = c.pumps;
    flow.Tick();
    innerPumps = c.pumps - before;
  };
  flow.Tick();
  EXPECT_EQ(innerPumps, 0);
  EXPECT_EQ(c.result, Expected(c, u"outer"));
  EXPECT_EQ(c.resultWrites, 1);
  // The next tick renders afresh.
  flow.Tick();
  EXPECT_EQ(c.result, Expected(c, u"changed inside"));
}

TEST(ComposeFlow, FailingFadeLeavesTheResultAlone) {
  FakeControls c;
  ComposeFlow flow(c);
  c.message = u"short";
  flow.Tick();
  const auto before = c.result;
  c.message = std::u16string(32768, u'x');
  EXPECT_NO_THROW(flow.Tick());
  EXPECT_EQ(c.result, before);
  EXPECT_EQ(c.resultWrites, 1);
}

TEST(ComposeFlow, SwatchTakesTheChosenColourAndKeepsItsOwnOnCancelOrError) {
  FakeControls c;
  ComposeFlow flow(c);
  c.dialogAnswer = 0x00FF00;
  flow.SwatchClick(3);
  EXPECT_EQ(c.colors[3], 0x00FF00);
  c.dialogAnswer.reset();
  flow.SwatchClick(3);
  EXPECT_EQ(c.colors[3], 0x00FF00);
  c.dialogThrows = true;
  EXPECT_NO_THROW(flow.SwatchClick(1));
  EXPECT_EQ(c.colors[1], 0x0000FF);
  // The new colour shows from the next tick on.
  c.message = u"abcd";
  flow.Tick();
  EXPECT_NE(c.result.find(u"#00FF00\">b"), std::u16string::npos);
}

}  // namespace
