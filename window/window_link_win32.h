// The link from a window of the program's own classes (frmFade and its
// owner-drawn controls) to the object behind it, and the one window
// procedure of those classes.
//
// The link is made only while this thread creates that window through
// CreateLinkedWindow, and undone only while this thread destroys windows
// through DestroyLinkedWindow (a parent takes its children along). Another
// program can send or post WM_NCCREATE and WM_NCDESTROY to any window; such a
// message neither attaches a stray pointer nor lets go of the object.
#pragma once

#include <windows.h>

namespace fader {

// Registers a window class of the program once per process, its window
// procedure LinkedWindowProc<T>; the class name, or nullptr when the system
// refuses the class.
const wchar_t* RegisterWindowClass(const wchar_t* name, WNDPROC proc, HCURSOR cursor);

// CreateWindowExW for a window whose object is `object`: the object is
// attached at the window's WM_NCCREATE. The window, or nullptr.
HWND CreateLinkedWindow(void* object, DWORD exStyle, const wchar_t* cls, const wchar_t* text, DWORD style, int x,
                        int y, int width, int height, HWND parent, int id);

// DestroyWindow, during which the windows destroyed let go of their objects.
bool DestroyLinkedWindow(HWND window);

namespace link_detail {
// The object whose window this thread is creating now, if any.
void* TakeObjectBeingCreated();
// Whether this thread is inside DestroyLinkedWindow.
bool Destroying();
}  // namespace link_detail

// Reports a C++ exception that reached a window procedure; the procedure then
// goes on as if the message had been handled.
void NoteEscapedException(const char* where) noexcept;

// The window procedure of a class whose windows are objects of T: T::Handle
// answers every message, and no exception gets past it (noted under
// T::kWhat; the message counts as handled). T has hWnd() and
// AttachWindow(HWND).
template <typename T>
LRESULT CALLBACK LinkedWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    if (GetWindowLongPtrW(hwnd, GWLP_USERDATA) != 0) return 0;  // a window long made: not its creation
    if (auto* self = static_cast<T*>(link_detail::TakeObjectBeingCreated())) {
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
      self->AttachWindow(hwnd);
    }
  }
  auto* self = reinterpret_cast<T*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self || self->hWnd() != hwnd) return DefWindowProcW(hwnd, msg, wp, lp);
  if (msg == WM_NCDESTROY) {
    if (!link_detail::Destroying()) return 0;  // not ours: the window lives on
    self->AttachWindow(nullptr);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    return DefWindowProcW(hwnd, msg, wp, lp);
  }
  try {
    return self->Handle(msg, wp, lp);
  } catch (...) {
    NoteEscapedException(T::kWhat);
    return 0;
  }
}

}  // namespace fader
