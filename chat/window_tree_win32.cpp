#include "chat/window_tree_win32.h"

#include <climits>
#include <stdexcept>

#include "chat/chat_room.h"
#include "chat/chat_send_win32.h"

namespace fader {
namespace {

// The ...A calls want a terminated class name; a view need not be one.
std::string Terminated(std::string_view s) { return std::string(s); }

}  // namespace

std::string ToAnsiCodePage(std::u16string_view text) {
  if (text.empty()) return {};
  if (text.size() > static_cast<std::size_t>(INT_MAX)) throw std::length_error("text too long for the code page");
  static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 wchar_t on Windows");
  const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
  const int length = static_cast<int>(text.size());
  const int needed = WideCharToMultiByte(CP_ACP, 0, wide, length, nullptr, 0, nullptr, nullptr);
  if (needed <= 0) throw std::runtime_error("text cannot be converted to the code page");
  std::string out(static_cast<std::size_t>(needed), '\0');
  const int written = WideCharToMultiByte(CP_ACP, 0, wide, length, out.data(), needed, nullptr, nullptr);
  if (written <= 0) throw std::runtime_error("text cannot be converted to the code page");
  out.resize(static_cast<std::size_t>(written));
  return out;
}

WindowTree::Handle Win32WindowTree::FindTopLevel(std::string_view cls) {
  return FromHwnd(FindWindowA(Terminated(cls).c_str(), nullptr));
}

WindowTree::Handle Win32WindowTree::FindChild(Handle parent, Handle after, std::string_view cls) {
  return FromHwnd(FindWindowExA(ToHwnd(parent), ToHwnd(after), Terminated(cls).c_str(), nullptr));
}

bool Win32WindowTree::Send(Handle window, const Message& msg) {
  std::string ansi;
  LPARAM lparam = static_cast<LPARAM>(msg.lparam);
  if (msg.id == kWmSetText) {
    try {
      ansi = ToAnsiCodePage(msg.text);
    } catch (const std::length_error&) {
      return false;
    } catch (const std::runtime_error&) {
      return false;
    }
    // std::string keeps a NUL after its last byte: the terminator the
    // receiver reads up to.
    lparam = reinterpret_cast<LPARAM>(ansi.c_str());
  }
  DWORD_PTR result = 0;
  const LRESULT ok = SendMessageTimeoutA(ToHwnd(window), msg.id, static_cast<WPARAM>(msg.wparam), lparam,
                                         SMTO_ABORTIFHUNG, kChatSendTimeoutMs, &result);
  return ok != 0;
}

bool ChatSend(std::u16string_view text) noexcept {
  try {
    Win32WindowTree tree;
    return ChatSend(tree, text);
  } catch (...) {
    // Only allocation can fail here; the line did not go out.
    return false;
  }
}

}  // namespace fader
