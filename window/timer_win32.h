// The timer (tmrFade): an interval in milliseconds and a tick, on a window
// timer of the main window. It ticks only once started, so that the main
// window is shown before the first tick.
#pragma once

#include <windows.h>

#include "window/layout.h"

namespace fader {

class Timer {
 public:
  static constexpr layout::Kind kKind = layout::Kind::kTimer;  // in the design table
  Timer() = default;
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;
  ~Timer();

  // Binds the timer to its window with its design interval; nothing ticks yet.
  void Create(HWND owner, UINT_PTR id, int interval_ms);
  // Lets it tick from now on (an interval of 0 never ticks).
  void Start();

  UINT_PTR Id() const { return id_; }
  // Whether it ticks: started, and the system took the timer. The owner's
  // WM_TIMER with this id counts as a tick only then.
  bool Started() const { return armed_; }

 private:
  HWND owner_ = nullptr;
  UINT_PTR id_ = 0;
  int interval_ = 0;
  bool armed_ = false;
};

}  // namespace fader
