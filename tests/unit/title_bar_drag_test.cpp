// Dragging the window by its title-bar panel: rounding and the state machine.
#include <gtest/gtest.h>

#include <vector>

#include "base/overflow_error.h"
#include "window/title_bar_drag.h"

namespace {

class FakeWindow : public fader::DragTarget {
 public:
  float left = 3000, top = 2000;
  std::vector<std::int16_t> pointers;
  std::vector<char> order;  // 'L' and 'T' as they are set
  float Left() const override { return left; }
  void SetLeft(float v) override {
    left = v;
    order.push_back('L');
  }
  float Top() const override { return top; }
  void SetTop(float v) override {
    top = v;
    order.push_back('T');
  }
  void SetMousePointer(std::int16_t p) override { pointers.push_back(p); }
};

TEST(TitleBarDrag, PressKeepsThePointerRoundedWithHalvesToEven) {
  struct Case {
    float x, y;
    std::int16_t drag_x, drag_y;
  };
  for (const Case c : {Case{100.5f, 50.0f, 100, 50}, Case{101.5f, 50.5f, 102, 50}, Case{-2.5f, 32767.4f, -2, 32767},
                       Case{-32768.0f, -32768.5f, -32768, -32768}}) {
    FakeWindow w;
    fader::TitleBarDrag drag(w);
    drag.MouseDown(1, 0, c.x, c.y);
    EXPECT_EQ(drag.DragX(), c.drag_x) << c.x;
    EXPECT_EQ(drag.DragY(), c.drag_y) << c.y;
  }
}

TEST(TitleBarDrag, MovesMoveTheWindowByThePointersDistanceFromThePress) {
  FakeWindow w;
  fader::TitleBarDrag drag(w);
  drag.MouseDown(1, 0, 100.5f, 50.0f);  // kept as 100, 50
  drag.MouseMove(1, 0, 130.0f, 70.0f);
  EXPECT_FLOAT_EQ(w.left, 3030.0f);
  EXPECT_FLOAT_EQ(w.top, 2020.0f);
  EXPECT_EQ(w.order, (std::vector<char>{'L', 'T'}));
}

TEST(TitleBarDrag, OnlyTheLeftButtonStartsAMoveWhateverTheShiftState) {
  FakeWindow w;
  fader::TitleBarDrag drag(w);
  drag.MouseDown(2, 0, 10, 10);
  drag.MouseDown(4, 0, 10, 10);
  drag.MouseMove(2, 0, 500, 500);
  EXPECT_FALSE(drag.Dragging());
  EXPECT_TRUE(w.pointers.empty());
  EXPECT_FLOAT_EQ(w.left, 3000.0f);
  for (std::int16_t shift : {1, 2, 4}) {
    fader::TitleBarDrag with_shift(w);
    with_shift.MouseDown(1, shift, 10, 10);
    EXPECT_TRUE(with_shift.Dragging()) << shift;
  }
}

TEST(TitleBarDrag, MovesWithoutAPressMoveNothingAndAnyReleaseEndsTheMove) {
  FakeWindow w;
  fader::TitleBarDrag drag(w);
  drag.MouseMove(0, 0, 400, 300);
  EXPECT_TRUE(w.order.empty());
  drag.MouseDown(1, 0, 10, 10);
  drag.MouseUp(2, 0, 10, 10);
  EXPECT_FALSE(drag.Dragging());
  drag.MouseMove(1, 0, 400, 300);
  EXPECT_TRUE(w.order.empty());
  // Press and release both set the move pointer, and nothing sets it back.
  EXPECT_EQ(w.pointers, (std::vector<std::int16_t>{16, 16}));
}

TEST(TitleBarDrag, LosingTheMouseMidDragEndsItAsAReleaseDoes) {
  FakeWindow w;
  fader::TitleBarDrag drag(w);
  drag.CaptureLost();  // no drag: nothing to end, the pointer is left alone
  EXPECT_TRUE(w.pointers.empty());
  drag.MouseDown(1, 0, 10, 10);
  drag.CaptureLost();
  EXPECT_FALSE(drag.Dragging());
  EXPECT_EQ(w.pointers, (std::vector<std::int16_t>{16, 16}));
  // Hovering over the panel afterwards moves nothing.
  drag.MouseMove(0, 0, 400, 300);
  EXPECT_TRUE(w.order.empty());
}

TEST(TitleBarDrag, CoordinateBeyondSixteenBitsIsAnOverflowNotAWrap) {
  FakeWindow w;
  fader::TitleBarDrag drag(w);
  EXPECT_THROW(drag.MouseDown(1, 0, 40000.0f, 0), fader::OverflowError);
  // The press that failed left the drag off: moves do not follow the pointer.
  EXPECT_FALSE(drag.Dragging());
  drag.MouseMove(1, 0, 100, 100);
  EXPECT_TRUE(w.order.empty());
  // Nor does one that fails after a good press and release.
  drag.MouseDown(1, 0, 10, 10);
  drag.MouseUp(1, 0, 10, 10);
  EXPECT_THROW(drag.MouseDown(1, 0, 10, -40000.0f), fader::OverflowError);
  EXPECT_FALSE(drag.Dragging());
}

}  // namespace
