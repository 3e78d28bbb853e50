#include "tools/chatroom/room_input_win32.h"

#include <algorithm>

#include "tools/chatroom/room_app_win32.h"

namespace fader::room {
namespace {

std::u16string FromAnsi(const std::string& text) {
  if (text.empty()) return {};
  const int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(std::max(n, 0)), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
  return std::u16string(wide.begin(), wide.end());
}

void LetGo(Box& box) {
  box.held_whole.clear();
  box.held_shown.clear();
}

}  // namespace

LRESULT SetInputText(Box& box, WNDPROC next, WPARAM wparam, LPARAM lparam, const std::string& text) {
  if (g_app->options.hang_input_ms > 0) Sleep(g_app->options.hang_input_ms);
  LetGo(box);
  if (text.size() <= kShownBytes) return CallWindowProcA(next, box.hwnd, WM_SETTEXT, wparam, lparam);
  // Cut never inside a double-byte character.
  std::size_t cut = 0;
  while (cut < kShownBytes) cut += IsDBCSLeadByteEx(CP_ACP, static_cast<BYTE>(text[cut])) ? 2 : 1;
  const std::string shown = text.substr(0, cut);
  const LRESULT result = CallWindowProcA(next, box.hwnd, WM_SETTEXT, wparam, reinterpret_cast<LPARAM>(shown.c_str()));
  box.held_whole = FromAnsi(text);
  box.held_shown = BoxText(box);
  return result;
}

void TakeEnter(Box& box) {
  if (g_app->options.slow_enter_ms > 0) Sleep(g_app->options.slow_enter_ms);
  PostLine(*box.doc);
}

std::u16string TakeLine(Box& box) {
  std::u16string line = BoxText(box);
  if (!box.held_whole.empty() && line == box.held_shown) line = box.held_whole;
  LetGo(box);
  return line;
}

}  // namespace fader::room
