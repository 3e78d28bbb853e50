#include "window/window_link_win32.h"

namespace fader {
namespace {

// The program's one GUI thread makes and destroys every window of its classes.
void* t_being_created = nullptr;
int t_destroying = 0;

}  // namespace

namespace link_detail {

void* TakeObjectBeingCreated() {
  void* object = t_being_created;
  t_being_created = nullptr;  // the first WM_NCCREATE is the window's own
  return object;
}

bool Destroying() { return t_destroying > 0; }

}  // namespace link_detail

const wchar_t* RegisterWindowClass(const wchar_t* name, WNDPROC proc, HCURSOR cursor) {
  WNDCLASSEXW wc{};
  HINSTANCE inst = GetModuleHandleW(nullptr);
  if (GetClassInfoExW(inst, name, &wc)) return name;
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = proc;
  wc.hInstance = inst;
  wc.hCursor = cursor;
  wc.lpszClassName = name;
  return RegisterClassExW(&wc) ? name : nullptr;
}

HWND CreateLinkedWindow(void* object, DWORD exStyle, const wchar_t* cls, const wchar_t* text, DWORD style, int x,
                        int y, int width, int height, HWND parent, int id) {
  if (!cls) return nullptr;
  t_being_created = object;
  HWND window = CreateWindowExW(exStyle, cls, text, style, x, y, width, height, parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
  t_being_created = nullptr;
  return window;
}

bool DestroyLinkedWindow(HWND window) {
  ++t_destroying;
  const bool done = DestroyWindow(window) != FALSE;
  --t_destroying;
  return done;
}

void NoteEscapedException(const char* where) noexcept {
  OutputDebugStringA("mirtane: an exception reached the window procedure of ");
  OutputDebugStringA(where);
  OutputDebugStringA("\n");
}

}  // namespace fader
