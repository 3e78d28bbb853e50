#include "window/timer_win32.h"

namespace fader {

Timer::~Timer() {
  if (armed_ && IsWindow(owner_)) KillTimer(owner_, id_);
}

void Timer::Create(HWND owner, UINT_PTR id, int interval_ms) {
  owner_ = owner;
  id_ = id;
  interval_ = interval_ms;
}

void Timer::Start() {
  if (!owner_ || interval_ <= 0) return;
  // The system raises intervals below its minimum (about 10 ms) to it: 1 ms
  // means "as often as the system allows". Refused, the timer never ticks:
  // each send then renders the line itself.
  armed_ = SetTimer(owner_, id_, static_cast<UINT>(interval_), nullptr) != 0;
}

}  // namespace fader
