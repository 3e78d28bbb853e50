#include "tools/chatroom/room_windows_win32.h"

#include <richedit.h>

#include <memory>

#include "tools/chatroom/room_app_win32.h"

namespace fader::room {
namespace {

constexpr int kFirstChildId = 50000;

LRESULT CALLBACK FrameProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  switch (msg) {
    case WM_CREATE: {
      CLIENTCREATESTRUCT ccs{};
      ccs.idFirstChild = kFirstChildId;
      g_app->client = CreateWindowExW(WS_EX_CLIENTEDGE, L"MDICLIENT", nullptr,
                                      WS_CHILD | WS_CLIPCHILDREN | WS_VSCROLL | WS_HSCROLL | WS_VISIBLE, 0, 0, 10,
                                      10, hwnd, nullptr, g_app->instance, &ccs);
      return g_app->client ? 0 : -1;
    }
    case WM_CLOSE:
      DestroyWindow(hwnd);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefFrameProcW(hwnd, g_app->client, msg, wparam, lparam);
  }
}

// "RICHCNTL" is a rich-edit control under another name; the other three are
// the system's list box, button and label likewise.
bool RegisterSuperclass(const wchar_t* base, HINSTANCE base_instance, const wchar_t* name) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  if (!GetClassInfoExW(base_instance, base, &wc) && !GetClassInfoExW(nullptr, base, &wc)) return false;
  wc.hInstance = g_app->instance;
  wc.lpszClassName = name;
  wc.style &= ~static_cast<UINT>(CS_GLOBALCLASS);
  return RegisterClassExW(&wc) != 0;
}

bool RegisterWindowClass(const wchar_t* name, WNDPROC proc, int background_color) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = proc;
  wc.hInstance = g_app->instance;
  wc.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(background_color) + 1);
  wc.lpszClassName = name;
  return RegisterClassExW(&wc) != 0;
}

}  // namespace

bool RegisterClasses() {
  HMODULE rich = LoadLibraryW(L"msftedit.dll");
  const wchar_t* rich_class = MSFTEDIT_CLASS;
  if (!rich) {
    rich = LoadLibraryW(L"riched20.dll");
    rich_class = RICHEDIT_CLASSW;
  }
  if (!rich || !RegisterSuperclass(rich_class, rich, kRichClass)) return false;
  if (!RegisterSuperclass(L"LISTBOX", nullptr, kListClass)) return false;
  if (!RegisterSuperclass(L"BUTTON", nullptr, kIconClass)) return false;
  if (!RegisterSuperclass(L"STATIC", nullptr, kStaticClass)) return false;
  return RegisterWindowClass(kFrameClass, FrameProc, COLOR_APPWORKSPACE) &&
         RegisterWindowClass(kDocClass, DocProc, COLOR_BTNFACE);
}

bool OpenWindows() {
  g_app->frame = CreateWindowExW(0, kFrameClass, reinterpret_cast<const wchar_t*>(g_app->options.title.c_str()),
                                 WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 40, 40, 900, 640, nullptr, nullptr,
                                 g_app->instance, nullptr);
  if (!g_app->frame) return false;

  const auto add = [](int count, bool room) {
    for (int i = 1; i <= count; ++i) {
      auto d = std::make_unique<Doc>();
      d->number = i;
      d->room = room;
      g_app->docs.push_back(std::move(d));
    }
  };
  add(g_app->options.documents, false);
  add(g_app->options.rooms, true);
  // Documents in a column on the right, rooms cascading on the left.
  for (auto& d : g_app->docs) {
    const int k = d->number - 1;
    const HWND made = d->room ? OpenDoc(*d, 8 + 24 * k, 8 + 24 * k, 560, 400)
                              : OpenDoc(*d, 590, 8 + (k % 4) * 130 + (k / 4) * 12, 270, 124);
    if (!made) return false;
  }

  ShowWindow(g_app->frame, SW_SHOWNORMAL);
  Doc* first_room = nullptr;
  for (auto& d : g_app->docs)
    if (d->room && !first_room) first_room = d.get();
  if (first_room) SendMessageW(g_app->client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(first_room->hwnd), 0);
  // Activation moves a child to the top; set the order tests rely on after it.
  HWND after = HWND_TOP;
  for (auto& d : g_app->docs) {
    SetWindowPos(d->hwnd, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    after = d->hwnd;
  }
  if (first_room) SetFocus(first_room->input->hwnd);
  UpdateWindow(g_app->frame);
  return true;
}

}  // namespace fader::room
