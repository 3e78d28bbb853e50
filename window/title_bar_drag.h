// Moving the frameless window by dragging its title-bar panel.
#pragma once

#include <cstdint>

namespace fader {

// The window's position in twips, and the panel's pointer.
class DragTarget {
 public:
  virtual ~DragTarget() = default;
  virtual float Left() const = 0;
  virtual void SetLeft(float twips) = 0;
  virtual float Top() const = 0;
  virtual void SetTop(float twips) = 0;
  virtual void SetMousePointer(std::int16_t pointer) = 0;
};

inline constexpr std::int16_t kMovePointer = 16;

class TitleBarDrag {
 public:
  explicit TitleBarDrag(DragTarget& target) : t_(target) {}

  // x, y: the pointer within the panel, in twips.
  void MouseDown(std::int16_t button, std::int16_t shift, float x, float y);
  void MouseMove(std::int16_t button, std::int16_t shift, float x, float y);
  void MouseUp(std::int16_t button, std::int16_t shift, float x, float y);
  // The panel lost the mouse mid-drag, so its release will never come: the
  // drag ends as on a release, or later moves over the panel would still
  // move the window. Outside a drag it does nothing.
  void CaptureLost();

  bool Dragging() const { return Dragging_ != 0; }
  std::int16_t DragX() const { return DragX_; }
  std::int16_t DragY() const { return DragY_; }

 private:
  DragTarget& t_;
  std::int16_t Dragging_ = 0;  // True is -1, False 0
  std::int16_t DragX_ = 0;
  std::int16_t DragY_ = 0;
};

}  // namespace fader
