#include "tools/chatroom/room_document_win32.h"

#include <algorithm>
#include <string>

#include "tools/chatroom/room_app_win32.h"
#include "tools/chatroom/room_display_win32.h"
#include "tools/chatroom/room_input_win32.h"

namespace fader::room {
namespace {

constexpr int kIdSend = 101;

HWND MakeChild(const wchar_t* cls, const wchar_t* text, DWORD style, HWND parent, int id) {
  return CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 10, 10, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), g_app->instance, nullptr);
}

// Children in the order the real client makes them: display first, input box
// second, so the input box is the second rich-text control.
bool MakeDocChildren(Doc& doc, HWND hwnd) {
  const std::string n = std::to_string(doc.number);
  doc.display = MakeBox(doc, hwnd, false, (doc.room ? "display=" : "document=") + n);
  if (!doc.display) return false;
  if (doc.room) {
    doc.input = MakeBox(doc, hwnd, true, "room=" + n);
    if (!doc.input) return false;
  }
  doc.list = MakeChild(kListClass, L"", WS_BORDER | WS_VSCROLL | LBS_NOINTEGRALHEIGHT, hwnd, 0);
  for (const wchar_t* person : {L"Guest", L"Host", L"You"})
    SendMessageW(doc.list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(person));
  if (doc.room) doc.icon = MakeChild(kIconClass, L"Send", BS_PUSHBUTTON, hwnd, kIdSend);
  const std::wstring label = doc.room ? L"Chat room " + std::to_wstring(doc.number) + L": 3 people here"
                                      : L"Document " + std::to_wstring(doc.number) + L" (not a chat room)";
  doc.label = MakeChild(kStaticClass, label.c_str(), 0, hwnd, 0);
  if (!doc.room) {
    const wchar_t* info = L"Welcome. This window is a document, not a chat room.";
    CallWide(*doc.display, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(info));
  }
  return doc.list && doc.label && (!doc.room || doc.icon);
}

void LayOut(const Doc& doc, int w, int h) {
  const int m = 6, label_h = 20, input_h = 26, list_w = 140, button_w = 70;
  const int top = m + label_h + m;
  const int bottom = doc.room ? h - input_h - 2 * m : h - m;
  const int body_h = std::max(bottom - top, 10);
  const int left_w = std::max(w - list_w - 3 * m, 10);
  MoveWindow(doc.label, m, m, std::max(w - 2 * m, 10), label_h, TRUE);
  if (doc.display) MoveWindow(doc.display->hwnd, m, top, left_w, body_h, TRUE);
  MoveWindow(doc.list, w - list_w - m, top, list_w, body_h, TRUE);
  if (doc.input) MoveWindow(doc.input->hwnd, m, h - input_h - m, std::max(w - button_w - 3 * m, 10), input_h, TRUE);
  if (doc.icon) MoveWindow(doc.icon, w - button_w - m, h - input_h - m, button_w, input_h, TRUE);
}

}  // namespace

LRESULT CALLBACK DocProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  try {
    Doc* doc = reinterpret_cast<Doc*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    switch (msg) {
      case WM_CREATE: {
        const auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lparam);
        const auto* mdi = static_cast<const MDICREATESTRUCTW*>(cs->lpCreateParams);
        doc = reinterpret_cast<Doc*>(mdi->lParam);
        doc->hwnd = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(doc));
        if (!MakeDocChildren(*doc, hwnd)) return -1;
        break;
      }
      case WM_SIZE:
        if (doc) LayOut(*doc, LOWORD(lparam), HIWORD(lparam));
        break;  // DefMDIChildProc must see WM_SIZE too
      case WM_SETFOCUS: {
        const LRESULT r = DefMDIChildProcW(hwnd, msg, wparam, lparam);
        if (doc && doc->input) SetFocus(doc->input->hwnd);
        return r;
      }
      case WM_COMMAND:
        if (doc && LOWORD(wparam) == kIdSend && HIWORD(wparam) == BN_CLICKED) {
          PostLine(*doc);
          if (doc->input) SetFocus(doc->input->hwnd);
          return 0;
        }
        break;
      default:
        break;
    }
  } catch (...) {
    // Fall through to the default handling.
  }
  return DefMDIChildProcW(hwnd, msg, wparam, lparam);
}

HWND OpenDoc(Doc& doc, int x, int y, int width, int height) {
  const std::wstring title = doc.room ? L"Chat room " + std::to_wstring(doc.number)
                                      : L"Document " + std::to_wstring(doc.number);
  MDICREATESTRUCTW mcs{};
  mcs.szClass = kDocClass;
  mcs.szTitle = title.c_str();
  mcs.hOwner = g_app->instance;
  mcs.x = x;
  mcs.y = y;
  mcs.cx = width;
  mcs.cy = height;
  mcs.style = WS_VISIBLE | WS_CLIPCHILDREN;
  mcs.lParam = reinterpret_cast<LPARAM>(&doc);
  return reinterpret_cast<HWND>(SendMessageW(g_app->client, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
}

void PostLine(Doc& doc) {
  if (!doc.room || !doc.input || !doc.display) return;
  const std::u16string line = TakeLine(*doc.input);
  ShowPostedLine(*doc.display, line);
  CallWide(*doc.input, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
  g_app->log.Line("room=" + std::to_string(doc.number) + " posted");
}

}  // namespace fader::room
