// The bridge's window tree on the real window system (user32).
#pragma once

#include <windows.h>

#include <string_view>

#include "chat/window_tree.h"

namespace fader {

// How long one message to the client may take before it counts as hung.
inline constexpr UINT kChatSendTimeoutMs = 5000;

class Win32WindowTree : public WindowTree {
 public:
  Handle FindTopLevel(std::string_view cls) override;
  Handle FindChild(Handle parent, Handle after, std::string_view cls) override;
  // SendMessageTimeoutA with SMTO_ABORTIFHUNG and kChatSendTimeoutMs, so a
  // hung client costs at most the time-out; the text of a WM_SETTEXT goes out
  // in the ANSI code page. kTimedOut when the time-out ran out or the window
  // looks hung; kNotDelivered when the call fails otherwise or the text
  // cannot be converted.
  Delivery Send(Handle window, const Message& msg) override;

  static HWND ToHwnd(Handle h) { return reinterpret_cast<HWND>(h); }
  static Handle FromHwnd(HWND h) { return reinterpret_cast<Handle>(h); }
};

}  // namespace fader
