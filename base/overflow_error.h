// The one exception of the program's integer arithmetic, apart from the
// renderer so that layout, drag and desktop code can throw it without it.
#pragma once

#include <stdexcept>

namespace fader {

// Integer arithmetic never wraps: a result outside its 16- or 32-bit range
// throws this instead.
class OverflowError : public std::overflow_error {
 public:
  using std::overflow_error::overflow_error;
};

}  // namespace fader
