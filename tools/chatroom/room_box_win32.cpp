#include "tools/chatroom/room_box_win32.h"

#include <richedit.h>

#include "tools/chatroom/room_app_win32.h"
#include "tools/chatroom/room_display_win32.h"
#include "tools/chatroom/room_input_win32.h"

namespace fader::room {
namespace {

constexpr wchar_t kBoxProp[] = L"fader.chatroom.box";

std::string AnsiText(LPARAM lparam) {
  return lparam != 0 ? std::string(reinterpret_cast<const char*>(lparam)) : std::string();
}

LRESULT CALLBACK BoxProcA(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  Box* box = static_cast<Box*>(GetPropW(hwnd, kBoxProp));
  if (!box) return DefWindowProcA(hwnd, msg, wparam, lparam);
  const WNDPROC next = box->ansi_next;
  try {
    LogFile& log = g_app->log;
    switch (msg) {
      case WM_SETTEXT: {
        const std::string text = AnsiText(lparam);
        log.Line(TextMessageLine(box->who, "WM_SETTEXT", g_app->code_page, text));
        if (box->input) return SetInputText(*box, next, wparam, lparam, text);
        break;
      }
      case EM_REPLACESEL:
        log.Line(TextMessageLine(box->who, "EM_REPLACESEL", g_app->code_page, AnsiText(lparam)));
        break;
      case WM_CHAR:
        log.Line(ValueMessageLine(box->who, "WM_CHAR", wparam));
        if (box->input && wparam == 13) {
          TakeEnter(*box);
          return 0;
        }
        break;
      case WM_KEYDOWN:
        log.Line(ValueMessageLine(box->who, "WM_KEYDOWN", wparam));
        break;
      case WM_PASTE:
        log.Line(ValueMessageLine(box->who, "WM_PASTE", wparam));
        break;
      case WM_NCDESTROY:
        RemovePropW(hwnd, kBoxProp);
        break;
      default:
        break;
    }
  } catch (...) {
    // A message the room cannot log or post still reaches the control.
  }
  return CallWindowProcA(next, hwnd, msg, wparam, lparam);
}

}  // namespace

LRESULT CallWide(const Box& box, UINT msg, WPARAM wparam, LPARAM lparam) {
  return CallWindowProcW(box.wide_proc, box.hwnd, msg, wparam, lparam);
}

std::u16string BoxText(const Box& box) {
  const LRESULT length = CallWide(box, WM_GETTEXTLENGTH, 0, 0);
  if (length <= 0) return {};
  std::wstring buffer(static_cast<std::size_t>(length) + 1, L'\0');
  const LRESULT got = CallWide(box, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()));
  buffer.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
  return std::u16string(buffer.begin(), buffer.end());
}

std::unique_ptr<Box> MakeBox(Doc& doc, HWND parent, bool input, std::string who) {
  const DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP |
                      (input ? ES_AUTOHSCROLL : ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL);
  HWND hwnd = CreateWindowExW(WS_EX_CLIENTEDGE, kRichClass, L"", style, 0, 0, 10, 10, parent, nullptr,
                              g_app->instance, nullptr);
  if (!hwnd) return nullptr;
  auto box = std::make_unique<Box>();
  box->hwnd = hwnd;
  box->who = std::move(who);
  box->doc = &doc;
  box->input = input;
  box->wide_proc = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd, GWLP_WNDPROC));
  SetPropW(hwnd, kBoxProp, box.get());
  box->ansi_next = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(BoxProcA)));
  // Room for a long session of long faded lines.
  CallWide(*box, EM_EXLIMITTEXT, 0, 64 * 1024 * 1024);
  SetRoomStyle(*box);
  return box;
}

}  // namespace fader::room
