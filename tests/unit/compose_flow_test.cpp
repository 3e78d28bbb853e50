// The compose-and-send flow over fake controls, including events that arrive
// inside the fade's event pump. The fakes report changes as the window does:
// setting a box's text or a swatch's colour notifies the flow.
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <utility>
#include <string>
#include <vector>

#include "window/compose_flow.h"

namespace {

using fader::ComposeFlow;

class FakeControls : public fader::ComposeControls {
 public:
  ComposeFlow* flow = nullptr;
  std::int32_t colors[6] = {0, 0x0000FF, 0xFF0000, 0xE0E0E0, 0xFF8080, 0x000000};
  std::u16string message, result;
  bool room_open = true;
  bool focused_message = false;
  int beeps = 0, result_writes = 0, pumps = 0;
  mutable int reads = 0;
  std::vector<std::u16string> posted;
  std::function<void()> on_pump;
  std::optional<std::int32_t> dialog_answer;
  bool dialog_throws = false;

  std::int32_t SwatchColor(int i) const override { return ++reads, colors[i]; }
  void SetSwatchColor(int i, std::int32_t c) override {
    colors[i] = c;
    flow->ColorChanged();
  }
  // Boxes the system refuses: the next write fails, a read throws.
  bool refuse_result_write = false, refuse_message_write = false, unreadable = false;

  std::u16string MessageText() const override {
    if (unreadable) throw std::runtime_error("the box cannot be read");
    return ++reads, message;
  }
  bool SetMessageText(std::u16string_view t) override {
    if (std::exchange(refuse_message_write, false)) return false;
    message = t;
    flow->MessageChanged();
    return true;
  }
  std::u16string ResultText() const override {
    if (unreadable) throw std::runtime_error("the box cannot be read");
    return ++reads, result;
  }
  bool SetResultText(std::u16string_view t) override {
    if (std::exchange(refuse_result_write, false)) return false;
    result = t;
    ++result_writes;
    flow->ResultChanged();
    return true;
  }
  void FocusMessage() override { focused_message = true; }
  void Beep() override { ++beeps; }
  std::function<void()> on_post;  // runs while the line is on its way
  bool Post(std::u16string_view m) override {
    if (!room_open) return false;
    if (auto f = std::exchange(on_post, nullptr)) f();
    posted.emplace_back(m);
    return true;
  }
  void PumpEvents() override {
    ++pumps;
    if (auto f = std::exchange(on_pump, nullptr)) f();
  }
  std::optional<std::int32_t> PickColor() override {
    if (dialog_throws) throw std::runtime_error("dialog failed");
    return dialog_answer;
  }
};

struct Window {
  FakeControls c;
  ComposeFlow flow{c};
  Window() { c.flow = &flow; }
  // The user types: the box changes and tells the flow, as EN_CHANGE does.
  void Type(std::u16string_view text) {
    c.message += text;
    flow.MessageChanged();
  }
  void Enter() {
    std::int16_t key = 13;
    flow.KeyPress(key);
  }
};

// The characters of faded markup without their colour tags, read
// independently of the renderer.
std::u16string Shown(std::u16string_view markup) {
  static constexpr std::u16string_view kTag = u"<font color=\"#";
  std::u16string out;
  std::size_t at = 0;
  while (at < markup.size()) {
    EXPECT_EQ(markup.substr(at, kTag.size()), kTag) << "at " << at;
    at += kTag.size() + 8;  // six digits and ">
    if (at < markup.size()) out += markup[at++];
  }
  return out;
}

TEST(ComposeFlow, TickRendersTheLineWithTheSwatchColours) {
  Window w;
  w.Type(u"hello");
  w.flow.Tick();
  EXPECT_EQ(Shown(w.c.result), u"hello");
  EXPECT_EQ(w.c.pumps, 2);
  // The default swatches run red, blue, light grey, light blue, black.
  EXPECT_NE(w.c.result.find(u"#0000FF\">e"), std::u16string::npos);
  EXPECT_NE(w.c.result.find(u"#8080FF\">l"), std::u16string::npos);  // the fourth swatch on the fourth
  EXPECT_NE(w.c.result.find(u"#000000\">o"), std::u16string::npos);
}

TEST(ComposeFlow, TickWithNothingNewReadsAndWritesNothing) {
  Window w;
  // Nothing is rendered before the first tick, which renders once.
  w.flow.Tick();
  w.flow.Tick();
  EXPECT_EQ(w.c.result_writes, 1);
  w.Type(u"same");
  w.flow.Tick();
  const int reads = w.c.reads;
  w.flow.Tick();
  w.flow.Tick();
  EXPECT_EQ(w.c.reads, reads);
  EXPECT_EQ(w.c.result_writes, 2);
  // A new colour or text renders again, and so does a result changed by other means.
  w.c.SetSwatchColor(3, 0x00FF00);
  w.flow.Tick();
  EXPECT_NE(w.c.result.find(u"#00FF00\">a"), std::u16string::npos);
  w.c.result = u"typed into the hidden box";
  w.flow.ResultChanged();
  w.flow.Tick();
  EXPECT_EQ(Shown(w.c.result), u"same");
  EXPECT_EQ(w.c.result_writes, 4);
}

TEST(ComposeFlow, EnterPostsTheMarkupEmptiesBothBoxesAndFocusesTheMessage) {
  Window w;
  w.Type(u"hi");
  w.flow.Tick();
  const auto markup = w.c.result;
  const int pumps = w.c.pumps;
  w.Enter();
  ASSERT_EQ(w.c.posted.size(), 1u);
  EXPECT_EQ(w.c.posted[0], markup);
  EXPECT_EQ(w.c.message, u"");
  EXPECT_EQ(w.c.result, u"");
  EXPECT_TRUE(w.c.focused_message);
  // The next tick has nothing to render: the result stays empty.
  w.flow.Tick();
  EXPECT_EQ(w.c.result, u"");
  EXPECT_EQ(w.c.pumps, pumps);
}

TEST(ComposeFlow, EnterRightBehindTheLastKeysPostsTheWholeLine) {
  // Keys and Enter queued together reach the box before any tick renders them.
  Window w;
  w.Type(u"hello");
  w.flow.Tick();
  w.Type(u" there");
  w.Enter();
  ASSERT_EQ(w.c.posted.size(), 1u);
  EXPECT_EQ(Shown(w.c.posted[0]), u"hello there");
  // No tick at all between typing and the send button.
  w.Type(u"second");
  w.flow.SendClick();
  ASSERT_EQ(w.c.posted.size(), 2u);
  EXPECT_EQ(Shown(w.c.posted[1]), u"second");
  EXPECT_EQ(w.c.message, u"");
  // The render at the send handles no events: nothing can change the line under it.
  EXPECT_EQ(w.c.pumps, 2);
  // A new colour not yet rendered goes out too: of two letters the first
  // takes colour 2.
  w.Type(u"ab");
  w.flow.Tick();
  w.c.SetSwatchColor(2, 0x00FF00);
  w.Enter();
  EXPECT_EQ(w.c.posted[2].substr(0, 23), u"<font color=\"#00FF00\">a");
}

TEST(ComposeFlow, OtherKeysNeverSend) {
  Window w;
  w.Type(u"hi");
  w.flow.Tick();
  for (std::int16_t code : {10, 32, 97, 8, 27}) {
    std::int16_t key = code;
    w.flow.KeyPress(key);
  }
  EXPECT_TRUE(w.c.posted.empty());
  EXPECT_EQ(w.c.message, u"hi");
}

TEST(ComposeFlow, EmptyMessageSendsNothingAtAll) {
  Window w;
  w.Enter();  // before any tick
  w.flow.Tick();
  w.Enter();
  w.flow.SendClick();
  EXPECT_TRUE(w.c.posted.empty());
  EXPECT_FALSE(w.c.focused_message);
  EXPECT_EQ(w.c.beeps, 0);
}

TEST(ComposeFlow, SendButtonPostsWhatEnterWould) {
  Window enter, button;
  enter.Type(u"same line");
  button.Type(u"same line");
  enter.flow.Tick();
  button.flow.Tick();
  enter.Enter();
  button.flow.SendClick();
  EXPECT_EQ(enter.c.posted, button.c.posted);
  EXPECT_TRUE(button.c.focused_message);
  EXPECT_EQ(button.c.message, u"");
}

TEST(ComposeFlow, NoRoomKeepsBothBoxesFocusesAndBeeps) {
  Window w;
  w.c.room_open = false;
  w.Type(u"keep me");
  w.flow.Tick();
  const auto markup = w.c.result;
  w.flow.SendClick();
  EXPECT_EQ(w.c.message, u"keep me");
  EXPECT_EQ(w.c.result, markup);
  EXPECT_TRUE(w.c.focused_message);
  EXPECT_EQ(w.c.beeps, 1);
  // Once a room is open the same line goes out.
  w.c.room_open = true;
  w.flow.SendClick();
  ASSERT_EQ(w.c.posted.size(), 1u);
  EXPECT_EQ(w.c.posted[0], markup);
}

TEST(ComposeFlow, SendInsideATicksPumpPostsTheWholeLineOnce) {
  Window w;
  w.Type(u"first");
  w.flow.Tick();
  w.Type(u" and more");
  // The user presses Enter while the next tick is still rendering.
  w.c.on_pump = [&] { w.Enter(); };
  w.flow.Tick();
  ASSERT_EQ(w.c.posted.size(), 1u);
  EXPECT_EQ(Shown(w.c.posted[0]), u"first and more");
  EXPECT_EQ(w.c.result, u"");
  EXPECT_EQ(w.c.message, u"");
  // Nothing is left to be posted a second time.
  w.flow.SendClick();
  w.flow.Tick();
  w.Enter();
  EXPECT_EQ(w.c.posted.size(), 1u);
}

TEST(ComposeFlow, TickInsideATickReturnsAtOnce) {
  Window w;
  w.Type(u"outer");
  int inner_pumps = -1;
  w.c.on_pump = [&] {
    w.c.message = u"changed inside";
    w.flow.MessageChanged();
    const int before = w.c.pumps;
    w.flow.Tick();
    inner_pumps = w.c.pumps - before;
  };
  w.flow.Tick();
  EXPECT_EQ(inner_pumps, 0);
  EXPECT_EQ(Shown(w.c.result), u"outer");
  EXPECT_EQ(w.c.result_writes, 1);
  // The change made inside is not lost: the next tick renders it.
  w.flow.Tick();
  EXPECT_EQ(Shown(w.c.result), u"changed inside");
}

TEST(ComposeFlow, FailingFadeLeavesTheResultAloneAndIsNotRetriedUntilAChange) {
  Window w;
  w.Type(u"short");
  w.flow.Tick();
  const auto before = w.c.result;
  w.Type(std::u16string(32768, u'x'));
  EXPECT_NO_THROW(w.flow.Tick());
  EXPECT_EQ(w.c.result, before);
  const int reads = w.c.reads;
  w.flow.Tick();
  EXPECT_EQ(w.c.reads, reads);
  // Enter keeps the line and says so, with the focus back in the box.
  w.Enter();
  EXPECT_TRUE(w.c.posted.empty());
  EXPECT_EQ(w.c.beeps, 1);
  EXPECT_TRUE(w.c.focused_message);
  EXPECT_EQ(w.c.message.size(), 32773u);
}

TEST(ComposeFlow, EnterSentDuringASendPostsNothingMore) {
  // Another program sends Enter to the box while the send waits for the room.
  Window w;
  w.Type(u"once");
  w.c.on_post = [&] { w.Enter(); };
  w.Enter();
  ASSERT_EQ(w.c.posted.size(), 1u);
  EXPECT_EQ(Shown(w.c.posted[0]), u"once");
  EXPECT_EQ(w.c.beeps, 0);
}

TEST(ComposeFlow, MarkupTheResultBoxRefusedIsNeverPosted) {
  // The tick's markup of "fault line 1" never reached txtResult, which still
  // holds the markup of "fault line ".
  Window w;
  w.Type(u"fault line ");
  w.flow.Tick();
  w.Type(u"1");
  w.c.refuse_result_write = true;
  w.flow.Tick();
  w.Enter();
  ASSERT_EQ(w.c.posted.size(), 1u);
  EXPECT_EQ(Shown(w.c.posted[0]), u"fault line 1");
}

TEST(ComposeFlow, AMessageBoxThatKeptItsPostedLinePostsItAgainOnlyOnceChanged) {
  Window w;
  w.Type(u"kept");
  w.c.refuse_message_write = true;
  w.Enter();
  EXPECT_EQ(w.c.message, u"kept");
  // Return, the button, a tick and a new colour in between: nothing more, with a beep each.
  w.flow.Tick();
  w.c.SetSwatchColor(2, 0x00FF00);
  w.Enter();
  w.flow.SendClick();
  EXPECT_EQ(w.c.posted.size(), 1u);
  EXPECT_EQ(w.c.beeps, 2);
  // A change to the box ends that: what it holds then goes out, never the
  // empty markup of an empty box.
  w.Type(u"!");
  w.Enter();
  ASSERT_EQ(w.c.posted.size(), 2u);
  EXPECT_EQ(Shown(w.c.posted[1]), u"kept!");
  EXPECT_EQ(w.c.message, u"");
  // The box changed while the room took the line (another program set its
  // text): what it kept is no posted line.
  w.Type(u"first");
  w.c.on_post = [&] { w.Type(u", second"); };
  w.c.refuse_message_write = true;
  w.Enter();
  w.Enter();
  ASSERT_EQ(w.c.posted.size(), 4u);
  EXPECT_EQ(Shown(w.c.posted[3]), u"first, second");
}

TEST(ComposeFlow, BoxesThatCannotBeReadKeepTheLineAndBeep) {
  Window w;
  w.Type(u"unread");
  w.c.unreadable = true;
  EXPECT_NO_THROW(w.flow.Tick());
  w.Enter();
  w.c.unreadable = false;
  w.Type(u"!");
  w.flow.Tick();
  w.c.unreadable = true;  // a current txtResult that cannot be read
  w.Enter();
  EXPECT_TRUE(w.c.posted.empty());
  EXPECT_EQ(w.c.beeps, 2);
  EXPECT_TRUE(w.c.focused_message);
  w.c.unreadable = false;
  w.Enter();
  ASSERT_EQ(w.c.posted.size(), 1u);
  EXPECT_EQ(Shown(w.c.posted[0]), u"unread!");
}

TEST(ComposeFlow, SwatchTakesTheChosenColourAndKeepsItsOwnOnCancelOrError) {
  Window w;
  w.c.dialog_answer = 0x00FF00;
  w.flow.SwatchClick(3);
  EXPECT_EQ(w.c.colors[3], 0x00FF00);
  w.c.dialog_answer.reset();
  w.flow.SwatchClick(3);
  EXPECT_EQ(w.c.colors[3], 0x00FF00);
  w.c.dialog_throws = true;
  EXPECT_NO_THROW(w.flow.SwatchClick(1));
  EXPECT_EQ(w.c.colors[1], 0x0000FF);
  // The new colour shows from the next tick on.
  w.Type(u"abcd");
  w.flow.Tick();
  EXPECT_NE(w.c.result.find(u"#00FF00\">b"), std::u16string::npos);
}

}  // namespace
