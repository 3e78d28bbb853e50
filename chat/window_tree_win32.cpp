#include "chat/window_tree_win32.h"

#include <stdexcept>
#include <string>

#include "base/ansi_text_win32.h"

namespace fader {
namespace {

// The ...A calls want a terminated class name; a view need not be one.
std::string Terminated(std::string_view s) { return std::string(s); }

}  // namespace

WindowTree::Handle Win32WindowTree::FindTopLevel(std::string_view cls) {
  return FromHwnd(FindWindowA(Terminated(cls).c_str(), nullptr));
}

WindowTree::Handle Win32WindowTree::FindChild(Handle parent, Handle after, std::string_view cls) {
  return FromHwnd(FindWindowExA(ToHwnd(parent), ToHwnd(after), Terminated(cls).c_str(), nullptr));
}

WindowTree::Delivery Win32WindowTree::Send(Handle window, const Message& msg) {
  std::string ansi;
  LPARAM lparam = static_cast<LPARAM>(msg.lparam);
  if (msg.id == kWmSetText) {
    try {
      ansi = ToAnsiCodePage(msg.text);
    } catch (const std::length_error&) {
      return Delivery::kNotDelivered;
    } catch (const std::runtime_error&) {
      return Delivery::kNotDelivered;
    }
    // std::string keeps a NUL after its last byte: the terminator the
    // receiver reads up to.
    lparam = reinterpret_cast<LPARAM>(ansi.c_str());
  }
  DWORD_PTR result = 0;
  SetLastError(ERROR_SUCCESS);
  if (SendMessageTimeoutA(ToHwnd(window), msg.id, static_cast<WPARAM>(msg.wparam), lparam, SMTO_ABORTIFHUNG,
                          kChatSendTimeoutMs, &result)) {
    return Delivery::kAnswered;
  }
  // A message that timed out stays with the receiver, which handles it when
  // it gets to it.
  return GetLastError() == ERROR_TIMEOUT ? Delivery::kTimedOut : Delivery::kNotDelivered;
}

}  // namespace fader
