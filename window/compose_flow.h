// The compose-and-send flow of the main window: what a timer tick, a key press
// in the message box, the send button and a swatch click do, over the few
// control operations they need, so that it runs and is tested without Windows.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace fader {

class ComposeControls {
 public:
  virtual ~ComposeControls() = default;
  // Background colour of swatch Color1..Color5 (index 1..5), 0x00BBGGRR.
  virtual std::int32_t SwatchColor(int index) const = 0;
  virtual void SetSwatchColor(int index, std::int32_t color) = 0;
  // Reading a box throws when the box cannot be read; setting one is false
  // when the box did not take the text.
  virtual std::u16string MessageText() const = 0;  // txtMessage
  virtual bool SetMessageText(std::u16string_view text) = 0;
  virtual std::u16string ResultText() const = 0;  // txtResult, the hidden store of the markup
  virtual bool SetResultText(std::u16string_view text) = 0;
  virtual void FocusMessage() = 0;
  virtual void Beep() = 0;
  // Posts a line into the chat room; true when it went out.
  virtual bool Post(std::u16string_view markup) = 0;
  // Handles pending window events; the fade calls it while it counts.
  virtual void PumpEvents() = 0;
  // Opens the colour dialog; the colour chosen, or nothing on Cancel.
  virtual std::optional<std::int32_t> PickColor() = 0;
};

// The flow learns of every change to what it renders when it happens
// (MessageChanged, ColorChanged, ResultChanged), so that a tick with nothing new costs next to
// nothing, and a send knows whether txtResult still matches the message box.
// Nothing it does throws: a step the system refuses leaves the line with the
// user (a send beeps), and a later tick or send tries again. A line goes out
// once: a message box that kept a posted line (it could not be emptied)
// posts nothing more until its text changes.
class ComposeFlow {
 public:
  explicit ComposeFlow(ComposeControls& controls) : c_(controls) {}

  void Tick();                              // tmrFade
  void KeyPress(std::int16_t& keyAscii);    // txtMessage; the key code is left unchanged
  void SendClick();                         // cmdSend
  void SwatchClick(int index);              // Color1..Color5

  // The text of txtMessage changed.
  void MessageChanged() {
    ++changes_;
    ++message_changes_;
  }
  // A swatch's colour changed.
  void ColorChanged() { ++changes_; }
  // The text of txtResult changed; the flow's own writes don't count.
  void ResultChanged() {
    if (!writing_result_) ++changes_;
  }

 private:
  bool ResultIsCurrent() const { return rendered_at_ == changes_; }
  bool WriteResult(std::u16string_view markup);
  void Send();
  void KeepLine();

  ComposeControls& c_;
  bool in_tick_ = false;
  bool in_send_ = false;
  bool writing_result_ = false;
  std::uint64_t sends_done_ = 0;  // lines that went out; a tick seeing it change is stale
  // Counts the changes to the inputs; txtResult holds the markup of the
  // inputs as they were at change number rendered_at_ (none at first).
  std::uint64_t changes_ = 1;
  static constexpr std::uint64_t kNothingRendered = 0;
  std::uint64_t rendered_at_ = kNothingRendered;
  std::uint64_t failed_at_ = 0;  // the inputs at this change could not be rendered
  // Counts the changes to txtMessage alone; the box still holds the line
  // posted at change number kept_posted_at_, if any.
  std::uint64_t message_changes_ = 0;
  std::optional<std::uint64_t> kept_posted_at_;
};

}  // namespace fader
