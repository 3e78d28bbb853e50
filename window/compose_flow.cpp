#include "window/compose_flow.h"

#include <array>

#include "render/fade.h"
#include "window/attempt.h"

namespace fader {

namespace {
constexpr std::int16_t kEnter = 13;

// Sets a flag for the life of a scope, exceptions included.
class FlagGuard {
 public:
  explicit FlagGuard(bool& flag) : flag_(flag) { flag_ = true; }
  ~FlagGuard() { flag_ = false; }
  FlagGuard(const FlagGuard&) = delete;
  FlagGuard& operator=(const FlagGuard&) = delete;

 private:
  bool& flag_;
};

// The fade of the message box with the swatches' colours as they are now.
std::u16string Render(ComposeControls& c, const EventPump& pump) {
  std::array<std::int32_t, 5> colors;
  for (int i = 0; i < 5; ++i) colors[i] = c.SwatchColor(i + 1);
  // The render's own copy: events handled inside the fade may change the box.
  const std::u16string text = c.MessageText();
  return FadeFiveColors(colors[0], colors[1], colors[2], colors[3], colors[4], text, false, pump);
}
}  // namespace

void ComposeFlow::Tick() {
  // Nothing changed since txtResult was written (or since a render failed):
  // the fade would give the same markup again.
  if (ResultIsCurrent() || failed_at_ == changes_) return;
  // A tick that starts inside another tick's fade returns at once: the running
  // tick writes its result and the next one renders afresh.
  if (in_tick_) return;
  FlagGuard busy(in_tick_);

  const std::uint64_t inputs_at = changes_;
  const std::uint64_t sends_before = sends_done_;
  std::u16string markup;
  // A line beyond what the fade's counts hold, no memory, or a box that
  // cannot be read: txtResult keeps what it had, and a send renders afresh.
  if (!Attempt([&] { markup = Render(c_, [this] { c_.PumpEvents(); }); })) {
    failed_at_ = inputs_at;
    return;
  }
  // A line sent while this tick was rendering is gone from the boxes; its
  // markup must not come back into txtResult to be posted a second time.
  if (sends_done_ != sends_before) return;
  // Changes made while the fade ran are not in this markup: the next tick
  // renders them. Markup the box did not take is not there to be sent.
  if (WriteResult(markup)) {
    rendered_at_ = inputs_at;
  } else {
    failed_at_ = inputs_at;
  }
}

void ComposeFlow::KeyPress(std::int16_t& keyAscii) {
  if (keyAscii == kEnter) Send();
}

void ComposeFlow::SendClick() { Send(); }

void ComposeFlow::Send() {
  // One send at a time: an Enter another program sends to the message box
  // while this send waits for the chat room would post the line twice.
  if (in_send_) return;
  FlagGuard sending(in_send_);
  // The box still holds the line it posted: sending it again would double it.
  if (kept_posted_at_ == message_changes_) return KeepLine();
  const std::uint64_t line_at = message_changes_;

  // What goes out is the line in the message box at this moment. When the
  // last tick's markup is behind it (keys and Enter queued together, a paste
  // then Enter), it is rendered now, in one piece: no events are handled in
  // between, so the line cannot change under the send.
  std::u16string markup;
  if (!Attempt([&] { markup = ResultIsCurrent() ? c_.ResultText() : Render(c_, {}); })) return KeepLine();
  if (markup.empty()) return;
  bool posted = false;
  Attempt([&] { posted = c_.Post(markup); });
  if (!posted) return KeepLine();

  ++sends_done_;
  const bool emptied = c_.SetMessageText(u"");
  // Unless the box changed meanwhile (while the room took the line, or in a
  // write that failed), what it kept is the line that went out.
  if (!emptied) kept_posted_at_ = line_at;
  const bool cleared = WriteResult(u"");
  // The empty markup of the empty box, unless a box kept its text: then the
  // next send renders what the message box holds.
  rendered_at_ = emptied && cleared ? changes_ : kNothingRendered;
  c_.FocusMessage();
}

// No room got the line, or it could not be made: the user keeps it.
void ComposeFlow::KeepLine() {
  c_.FocusMessage();
  c_.Beep();
}

bool ComposeFlow::WriteResult(std::u16string_view markup) {
  FlagGuard writing(writing_result_);
  return c_.SetResultText(markup);
}

void ComposeFlow::SwatchClick(int index) {
  // Any failure around the dialog leaves the swatch as it was.
  try {
    if (auto chosen = c_.PickColor()) c_.SetSwatchColor(index, *chosen);
  } catch (...) {
  }
}

}  // namespace fader
