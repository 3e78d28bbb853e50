// The compose-and-send flow of the main window: what a timer tick, a key press
// in the message box, the send button and a swatch click do, over the few
// control operations they need, so that it runs and is tested without Windows.
#pragma once

#include <array>
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
  virtual std::u16string MessageText() const = 0;  // txtMessage
  virtual void SetMessageText(std::u16string_view text) = 0;
  virtual std::u16string ResultText() const = 0;  // txtResult, the hidden store of the markup
  virtual void SetResultText(std::u16string_view text) = 0;
  // True when txtResult changed by other means than SetResultText since the last one.
  virtual bool ResultChangedElsewhere() const = 0;
  virtual void FocusMessage() = 0;
  virtual void Beep() = 0;
  // Posts a line into the chat room; true when it went out.
  virtual bool Post(std::u16string_view markup) = 0;
  // Handles pending window events; the fade calls it while it counts.
  virtual void PumpEvents() = 0;
  // Opens the colour dialog; the colour chosen, or nothing on Cancel.
  virtual std::optional<std::int32_t> PickColor() = 0;
};

class ComposeFlow {
 public:
  explicit ComposeFlow(ComposeControls& controls) : c_(controls) {}

  void Tick();                              // tmrFade
  void KeyPress(std::int16_t& keyAscii);    // txtMessage; the key code is left unchanged
  void SendClick();                         // cmdSend
  void SwatchClick(int index);              // Color1..Color5

 private:
  void Send(const std::u16string& markup);

  ComposeControls& c_;
  bool inTick_ = false;
  std::uint64_t sendsDone_ = 0;  // lines that went out; a tick seeing it change is stale
  // The inputs and the markup of the last tick that wrote txtResult, so that a
  // tick with nothing new does no work.
  bool haveLast_ = false;
  std::array<std::int32_t, 5> lastColors_{};
  std::u16string lastText_;
  std::u16string lastMarkup_;
};

}  // namespace fader
