#include "window/timer_win32.h"

namespace fader {

Timer::~Timer() {
  if (armed_ && IsWindow(owner_)) KillTimer(owner_, id_);
}

void Timer::Create(HWND owner, UINT_PTR id, int interval_ms, bool enabled) {
  owner_ = owner;
  id_ = id;
  interval_ = interval_ms;
  enabled_ = enabled;
}

void Timer::Start() {
  started_ = true;
  Arm();
}

void Timer::SetEnabled(bool on) {
  enabled_ = on;
  Arm();
}

void Timer::Arm() {
  if (!owner_) return;
  if (started_ && enabled_ && interval_ > 0) {
    // The system raises intervals below its minimum (about 10 ms) to it:
    // 1 ms means "as often as the system allows".
    armed_ = SetTimer(owner_, id_, static_cast<UINT>(interval_), nullptr) != 0;
  } else if (armed_) {
    KillTimer(owner_, id_);
    armed_ = false;
  }
}

void Timer::OnTimer() {
  if (armed_ && Tick) Tick();
}

}  // namespace fader
