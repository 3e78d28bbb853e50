#include "window/compose_flow.h"

#include <array>

#include "render/fade.h"

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
  if (ResultIsCurrent() || failedAt_ == changes_) return;
  // A tick that starts inside another tick's fade returns at once: the running
  // tick writes its result and the next one renders afresh.
  if (inTick_) return;
  FlagGuard busy(inTick_);

  const std::uint64_t inputsAt = changes_;
  const std::uint64_t sendsBefore = sendsDone_;
  std::u16string markup;
  try {
    markup = Render(c_, [this] { c_.PumpEvents(); });
  } catch (const OverflowError&) {
    failedAt_ = inputsAt;  // txtResult keeps what it had; the box caps typed lines anyway
    return;
  }
  // A line sent while this tick was rendering is gone from the boxes; its
  // markup must not come back into txtResult to be posted a second time.
  if (sendsDone_ != sendsBefore) return;
  WriteResult(markup);
  // Changes made while the fade ran are not in this markup: the next tick
  // renders them.
  renderedAt_ = inputsAt;
}

void ComposeFlow::KeyPress(std::int16_t& keyAscii) {
  if (keyAscii == kEnter) Send();
}

void ComposeFlow::SendClick() { Send(); }

void ComposeFlow::Send() {
  // What goes out is the line in the message box at this moment. When the
  // last tick's markup is behind it (keys and Enter queued together, a paste
  // then Enter), it is rendered now, in one piece: no events are handled in
  // between, so the line cannot change under the send.
  std::u16string markup;
  if (ResultIsCurrent()) {
    markup = c_.ResultText();
  } else {
    try {
      markup = Render(c_, {});
    } catch (const OverflowError&) {
      c_.FocusMessage();
      c_.Beep();
      return;
    }
  }
  if (markup.empty()) return;

  if (!c_.Post(markup)) {
    // No room got the line: keep what the user typed.
    c_.FocusMessage();
    c_.Beep();
    return;
  }
  ++sendsDone_;
  c_.SetMessageText(u"");
  WriteResult(u"");
  renderedAt_ = changes_;  // the empty markup of the empty box
  c_.FocusMessage();
}

void ComposeFlow::WriteResult(std::u16string_view markup) {
  FlagGuard writing(writingResult_);
  c_.SetResultText(markup);
}

void ComposeFlow::SwatchClick(int index) {
  // Any failure around the dialog leaves the swatch as it was.
  try {
    if (auto chosen = c_.PickColor()) c_.SetSwatchColor(index, *chosen);
  } catch (...) {
  }
}

}  // namespace fader
