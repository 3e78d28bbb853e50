// The chat client's windows as the bridge sees them: three operations of the
// window system, so that room discovery runs against real windows and against
// a tree made up in a test alike.
#pragma once

#include <cstdint>
#include <string_view>

namespace fader {

inline constexpr std::uint32_t kWmSetText = 0x000C;
inline constexpr std::uint32_t kWmChar = 0x0102;

// A window message as the bridge sends it. For WM_SETTEXT the window system
// gets a pointer to `text` (converted to the 8-bit code page and terminated)
// in place of `lparam`; every other message carries `lparam` as it is.
struct Message {
  std::uint32_t id = 0;
  std::uintptr_t wparam = 0;
  std::intptr_t lparam = 0;
  std::u16string_view text;
};

class WindowTree {
 public:
  // A window handle; 0 is no window.
  using Handle = std::uintptr_t;

  virtual ~WindowTree() = default;

  // The first top-level window (topmost first) whose class is cls, or 0.
  virtual Handle FindTopLevel(std::string_view cls) = 0;

  // The first direct child of parent after the child `after` (from the first
  // child when after is 0) whose class is cls, or 0. A parent of 0 is the
  // desktop: the search then runs over the top-level windows. Class names
  // compare without regard to case.
  virtual Handle FindChild(Handle parent, Handle after, std::string_view cls) = 0;

  // What became of a message sent to a window.
  enum class Delivery {
    kAnswered,      // the window handled it
    kTimedOut,      // the window has it but did not answer in time, or looks hung
    kNotDelivered,  // no such window, or the message could not be made
  };

  // Sends msg to window synchronously and waits a while for the answer.
  virtual Delivery Send(Handle window, const Message& msg) = 0;
};

}  // namespace fader
