#include "window/compose_flow.h"

#include "render/fade.h"

namespace fader {

namespace {
constexpr std::int16_t kEnter = 13;

// Clears a flag on every way out of a scope, exceptions included.
class FlagGuard {
 public:
  explicit FlagGuard(bool& flag) : flag_(flag) { flag_ = true; }
  ~FlagGuard() { flag_ = false; }
  FlagGuard(const FlagGuard&) = delete;
  FlagGuard& operator=(const FlagGuard&) = delete;

 private:
  bool& flag_;
};
}  // namespace

void ComposeFlow::Tick() {
  // A tick that starts inside another tick's fade returns at once: the running
  // tick writes its result and the next one renders afresh.
  if (inTick_) return;
  FlagGuard busy(inTick_);

  std::array<std::int32_t, 5> colors;
  for (int i = 0; i < 5; ++i) colors[i] = c_.SwatchColor(i + 1);
  // The tick's own copy: events handled inside the fade may change the box.
  const std::u16string text = c_.MessageText();

  const bool resultIntact = haveLast_ && !c_.ResultChangedElsewhere();
  if (resultIntact && colors == lastColors_ && text == lastText_) return;

  const std::uint64_t sendsBefore = sendsDone_;
  std::u16string markup;
  try {
    markup = FadeFiveColors(colors[0], colors[1], colors[2], colors[3], colors[4], text, false,
                            [this] { c_.PumpEvents(); });
  } catch (const OverflowError&) {
    return;  // txtResult keeps what it had; the box caps typed lines anyway
  }
  // A line sent while this tick was rendering is gone from the boxes; its
  // markup must not come back into txtResult to be posted a second time.
  if (sendsDone_ != sendsBefore) return;

  if (!(resultIntact && markup == lastMarkup_)) c_.SetResultText(markup);
  haveLast_ = true;
  lastColors_ = colors;
  lastText_ = text;
  lastMarkup_ = std::move(markup);
}

void ComposeFlow::KeyPress(std::int16_t& keyAscii) {
  // Only Enter reads the result: for a long line that is a copy of its markup.
  if (keyAscii != kEnter) return;
  const std::u16string markup = c_.ResultText();
  if (markup.empty()) return;
  Send(markup);
}

void ComposeFlow::SendClick() {
  const std::u16string markup = c_.ResultText();
  if (markup.empty()) return;
  Send(markup);
}

void ComposeFlow::Send(const std::u16string& markup) {
  if (!c_.Post(markup)) {
    // No room got the line: keep what the user typed.
    c_.FocusMessage();
    c_.Beep();
    return;
  }
  ++sendsDone_;
  c_.SetMessageText(u"");
  c_.SetResultText(u"");
  lastMarkup_.clear();
  lastText_.clear();
  c_.FocusMessage();
}

void ComposeFlow::SwatchClick(int index) {
  // Any failure around the dialog leaves the swatch as it was.
  try {
    if (auto chosen = c_.PickColor()) c_.SetSwatchColor(index, *chosen);
  } catch (...) {
  }
}

}  // namespace fader
