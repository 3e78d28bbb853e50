// frmFade as the platform-free flows see it: the few operations of the
// window and the system that composing and sending, start-up and exit, and
// the title-bar drag need. The form owns one of each (frm_fade_win32.h); their
// bodies are in frm_fade_views_win32.cpp.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "window/announcements.h"
#include "window/compose_flow.h"
#include "window/title_bar_drag.h"

namespace fader {

class FrmFade;

// The controls the compose flow reads and writes.
class ComposeView : public ComposeControls {
 public:
  explicit ComposeView(FrmFade& f) : f_(f) {}
  std::int32_t SwatchColor(int index) const override;
  void SetSwatchColor(int index, std::int32_t color) override;
  std::u16string MessageText() const override;
  bool SetMessageText(std::u16string_view text) override;
  std::u16string ResultText() const override;
  bool SetResultText(std::u16string_view text) override;
  void FocusMessage() override;
  void Beep() override;
  bool Post(std::u16string_view markup) override;
  void PumpEvents() override;
  std::optional<std::int32_t> PickColor() override;

 private:
  FrmFade& f_;
};

// Start-up and exit on the real window and system.
class LifecycleView : public LifecycleControls {
 public:
  explicit LifecycleView(FrmFade& f) : f_(f) {}
  void ApplyShape() override;
  void StayOnTop() override;
  bool Post(std::u16string_view markup) override;
  int Ask(std::u16string_view text, std::u16string_view title, unsigned style) override;
  void RemoveTrayIcon() override;
  void EndProgram() override;

 private:
  FrmFade& f_;
};

// The window's position and the panel's pointer for the drag.
class DragView : public DragTarget {
 public:
  explicit DragView(FrmFade& f) : f_(f) {}
  float Left() const override;
  void SetLeft(float twips) override;
  float Top() const override;
  void SetTop(float twips) override;
  void SetMousePointer(std::int16_t pointer) override;

 private:
  FrmFade& f_;
};

}  // namespace fader
