// Steps a handler can do without: each one that fails is left out, and the
// handler goes on with the next.
#pragma once

namespace fader {

// Runs a step; false when it threw (out of memory, a conversion or a read the
// system refused), and then nothing of the exception gets further.
template <typename Step>
bool Attempt(Step&& step) noexcept {
  try {
    step();
    return true;
  } catch (...) {
    return false;
  }
}

}  // namespace fader
