#include "window/title_bar_drag.h"

#include <cmath>

#include "base/overflow_error.h"

namespace fader {

namespace {
constexpr std::int16_t kLeftButton = 1;
constexpr std::int16_t kTrue = -1;

std::int16_t RoundTo16(float value) {
  const double rounded = std::nearbyint(static_cast<double>(value));
  if (!(rounded >= -32768.0 && rounded <= 32767.0)) throw OverflowError("drag: coordinate out of 16-bit range");
  return static_cast<std::int16_t>(rounded);
}
}  // namespace

void TitleBarDrag::MouseDown(std::int16_t button, std::int16_t, float x, float y) {
  if (button != kLeftButton) return;  // any shift state
  t_.SetMousePointer(kMovePointer);
  // Armed only once the press is known: a press that cannot be rounded
  // leaves the drag off, never following the pointer with an old offset.
  const std::int16_t x16 = RoundTo16(x);
  const std::int16_t y16 = RoundTo16(y);
  DragX_ = x16;
  DragY_ = y16;
  Dragging_ = kTrue;
}

void TitleBarDrag::MouseMove(std::int16_t, std::int16_t, float x, float y) {
  if (Dragging_ != kTrue) return;
  // Left first, then Top, both from this one event's x and y.
  const float left = t_.Left();
  t_.SetLeft(static_cast<float>(static_cast<double>(x) - static_cast<double>(DragX_) + left));
  const float top = t_.Top();
  t_.SetTop(static_cast<float>(static_cast<double>(y) - static_cast<double>(DragY_) + top));
}

void TitleBarDrag::MouseUp(std::int16_t, std::int16_t, float, float) {
  Dragging_ = 0;
  t_.SetMousePointer(kMovePointer);
}

void TitleBarDrag::CaptureLost() {
  if (Dragging_ != kTrue) return;
  MouseUp(kLeftButton, 0, 0, 0);
}

}  // namespace fader
