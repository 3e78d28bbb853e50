// The link from a window of the program's own classes (frmFade and its
// owner-drawn controls) to the object behind it, and the one window
// procedure of those classes.
//
// The link is made only while this thread creates that window through
// CreateLinkedWindow, and undone only while this thread destroys windows
// through DestroyLinkedWindow (a parent takes its children along). Another
// program can send or post WM_NCCREATE and WM_NCDESTROY to any window; such a
// message neither attaches a stray pointer nor lets go of the object. The
// links are kept in the program's own table, not in the window: finding a
// window's object asks the system nothing, and so never fails.
#pragma once

#include <windows.h>

namespace fader {

// What every object behind a window of the program's classes has: its
// window, linked at creation and let go at destruction, and no copies.
class LinkedWindow {
 public:
  LinkedWindow() = default;
  LinkedWindow(const LinkedWindow&) = delete;
  LinkedWindow& operator=(const LinkedWindow&) = delete;

  HWND hWnd() const { return hwnd_; }
  void AttachWindow(HWND hwnd) { hwnd_ = hwnd; }

 protected:
  ~LinkedWindow() = default;
  // Answers a message to the window (LinkedWindowProc calls it).
  virtual LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp) = 0;

  HWND hwnd_ = nullptr;

 private:
  template <typename T>
  friend LRESULT CALLBACK LinkedWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
};

// Registers a window class of the program once per process, its window
// procedure LinkedWindowProc<T>; the class name, or nullptr when the system
// refuses the class.
const wchar_t* RegisterWindowClass(const wchar_t* name, WNDPROC proc, HCURSOR cursor);

// CreateWindowExW for a window whose object is `object`, of the kind named
// `what`: the object is attached at the window's WM_NCCREATE. The window, or
// nullptr (also when no link could be kept for it).
HWND CreateLinkedWindow(void* object, const char* what, DWORD ex_style, const wchar_t* cls, const wchar_t* text,
                        DWORD style, int x, int y, int width, int height, HWND parent, int id);

// DestroyWindow, during which the windows destroyed let go of their objects.
bool DestroyLinkedWindow(HWND window);

namespace link_detail {
// Links the window to the object this thread is creating now, if the window
// has none yet and `what` is that object's kind; false when it has no link.
bool LinkIfBeingCreated(HWND window, const char* what);
// The object of kind `what` linked to the window, or nullptr.
void* Linked(HWND window, const char* what);
void Unlink(HWND window);
// Whether this thread is inside DestroyLinkedWindow.
bool Destroying();
}  // namespace link_detail

// The object of type T linked to a window (T::kWhat names the kind), or nullptr.
template <typename T>
T* LinkedObject(HWND window) {
  return static_cast<T*>(link_detail::Linked(window, T::kWhat));
}

// Reports a C++ exception that reached a window procedure; the procedure then
// goes on as if the message had been handled.
void NoteEscapedException(const char* where) noexcept;

// The window procedure of a class whose windows are objects of T: T::Handle
// answers every message, and no exception gets past it (noted under
// T::kWhat; the message counts as handled). T is a LinkedWindow.
template <typename T>
LRESULT CALLBACK LinkedWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    if (LinkedObject<T>(hwnd)) return 0;  // a window long made: not its creation
    if (!link_detail::LinkIfBeingCreated(hwnd, T::kWhat)) return DefWindowProcW(hwnd, msg, wp, lp);
    LinkedObject<T>(hwnd)->AttachWindow(hwnd);
  }
  T* self = LinkedObject<T>(hwnd);
  if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
  if (msg == WM_NCDESTROY) {
    if (!link_detail::Destroying()) return 0;  // not ours: the window lives on
    self->AttachWindow(nullptr);
    link_detail::Unlink(hwnd);
    return DefWindowProcW(hwnd, msg, wp, lp);
  }
  try {
    return static_cast<LinkedWindow*>(self)->Handle(msg, wp, lp);
  } catch (...) {
    NoteEscapedException(T::kWhat);
    return 0;
  }
}

}  // namespace fader
