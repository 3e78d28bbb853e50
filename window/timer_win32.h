// The timer (tmrFade): an interval in milliseconds, an enabled flag, and a
// tick, on a window timer of the main window. It ticks only once started,
// so that the main window is shown before the first tick.
#pragma once

#include <windows.h>

#include <functional>

namespace fader {

class Timer {
 public:
  Timer() = default;
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;
  ~Timer();

  // Binds the timer to its window with its design values; nothing ticks yet.
  void Create(HWND owner, UINT_PTR id, int interval_ms, bool enabled);
  // Lets it tick from now on while enabled and the interval is above 0.
  void Start();

  int Interval() const { return interval_; }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool on);
  UINT_PTR Id() const { return id_; }

  // The owner's WM_TIMER with this timer's id comes here.
  void OnTimer();

  std::function<void()> Tick;

 private:
  void Arm();

  HWND owner_ = nullptr;
  UINT_PTR id_ = 0;
  int interval_ = 0;
  bool enabled_ = false;
  bool started_ = false;
  bool armed_ = false;
};

}  // namespace fader
